#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Kostwerk and runs every test: the unit,
# widget, tool, packaging and end-to-end tests; the same suite again built
# with AddressSanitizer and UndefinedBehaviorSanitizer; and a short fuzzing
# run of every fuzz target. The builds are the "ci" and "asan" presets of
# CMakePresets.json.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
jobs=$(nproc)

echo "== Build and test"
cmake --preset ci
cmake --build --preset ci --parallel "$jobs"
ctest --preset ci --parallel "$jobs"

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan
cmake --build --preset asan --parallel "$jobs"
ctest --preset asan --parallel "$jobs"

echo "== Fuzz every target briefly"
tools/fuzz.sh 30
