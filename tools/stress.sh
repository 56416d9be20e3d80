#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the tests over and over under load, as before a change lands: the
# unit and the widget tests up to 20 times each, eight at a time, in the
# "ci" build, then the end-to-end test of the "asan" build ten times in a
# row with two busy loops beside it. Stops at the first failure; a test
# that fails once in twenty is a defect. Builds what is out of date first.
set -euo pipefail
cd "$(dirname "$0")/.."

for preset in ci asan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --parallel "$(nproc)"
done

for label in unit widget; do
  echo "== The $label tests, up to 20 times each, eight at a time"
  ctest --test-dir build --label-regex "^$label\$" --repeat until-fail:20 --parallel 8 --output-on-failure
done

echo "== The end-to-end test with AddressSanitizer, ten times beside two busy loops"
busy=()
trap 'kill "${busy[@]}" 2>/dev/null || true' EXIT
for _ in 1 2; do
  yes >/dev/null &
  busy+=("$!")
done
ctest --preset asan --label-regex '^e2e$' --repeat until-fail:10 --output-on-failure
