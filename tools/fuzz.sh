#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang in build-fuzz and runs each one for
# a while on a copy of its seed corpus. Exits non-zero when a target finds a
# crash, a sanitizer error, a time-out or a broken property (the input is
# kept in build-fuzz/artifacts/), or when an input saved in
# fuzz/crashes-found/ still fails. Longer campaigns: see fuzz/README.md.
# Usage: tools/fuzz.sh [seconds per target, 1 to 60; default 30]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds < 1 || seconds > 60)); then
  echo "usage: $0 [seconds per target, 1 to 60; default 30]" >&2
  exit 2
fi

build=build-fuzz
targets=(weekpage cachefile ini dayview)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKOSTWERK_BUILD_FUZZERS=ON -DBUILD_TESTING=OFF -DKOSTWERK_BUILD_BENCHMARKS=OFF \
  -DKOSTWERK_WERROR=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target kostwerk_fuzzers

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts="$PWD/$build/artifacts"
mkdir -p "$artifacts"

# Undefined behaviour stops the run like a crash, so that libFuzzer keeps the input.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# Replays the inputs saved in fuzz/crashes-found/ for one target, then runs
# it on a copy of its corpus; the repository's corpus stays as it is. A saved
# input that still fails ends the target's turn: fuzzing would mostly find
# the same fault again.
fuzz() {
  local name=$1 program="$build/fuzz/kostwerk_fuzz_$1" status=0
  local saved=()
  for input in fuzz/crashes-found/"$name"-*; do
    [[ -f $input && $input != *.md ]] && saved+=("$input")
  done
  if ((${#saved[@]})); then
    "$program" "${saved[@]}" >"$work/$name.log" 2>&1 || status=$?
    if ((status)); then
      echo "saved input in fuzz/crashes-found/ still fails" >>"$work/$name.log"
      echo "$status" >"$work/$name.status"
      return
    fi
  fi
  cp -r "fuzz/corpus/$name" "$work/$name"
  "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -dict="fuzz/dict/$name.dict" -artifact_prefix="$artifacts/$name-" \
    "$work/$name" >"$work/$name.log" 2>&1 || status=$?
  echo "$status" >"$work/$name.status"
}

echo "Fuzzing ${targets[*]} for $seconds s each, $(nproc) at a time"
for name in "${targets[@]}"; do
  while (($(jobs -rp | wc -l) >= $(nproc))); do
    wait -n || true
  done
  fuzz "$name" &
done
wait

failed=0
for name in "${targets[@]}"; do
  status=$(cat "$work/$name.status")
  if [ "$status" = 0 ]; then
    # The last status line: runs, coverage and corpus size.
    summary=$(grep -E '^#[0-9]+' "$work/$name.log" | tail -n 1 | awk '{ print $1, $3, $4, $7, $8 }' || true)
    echo "  $name: ok ($summary)"
  else
    failed=1
    echo "  $name: FAILED (exit $status)"
    grep -E 'Property failed|ERROR:|SUMMARY:|Test unit written|^Running: |still fails' "$work/$name.log" \
      | sed 's/^/      /' || true
  fi
done
exit "$failed"
