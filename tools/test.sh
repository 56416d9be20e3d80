#!/usr/bin/env bash
# Installs what is missing, builds Kostwerk and runs every test: the unit,
# widget, tool, packaging and end-to-end tests; the same suite again built
# with AddressSanitizer and UndefinedBehaviorSanitizer; and a short fuzzing
# run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
jobs=$(nproc)

echo "== Build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOSTWERK_WERROR=ON
cmake --build build --parallel "$jobs"
ctest --test-dir build --output-on-failure --parallel "$jobs" --timeout 600

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOSTWERK_WERROR=ON \
  -DKOSTWERK_SANITIZE=ON -DKOSTWERK_BUILD_BENCHMARKS=OFF
cmake --build build-asan --parallel "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir build-asan --output-on-failure --parallel "$jobs" --timeout 900 \
  --label-exclude packaging

echo "== Fuzz every target briefly"
tools/fuzz.sh 30
