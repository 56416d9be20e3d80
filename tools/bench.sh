#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks in build-bench (Release) and runs them, then sets the
# figures beside the targets of docs/performance.md. Not part of the tests:
# figures depend on the machine and its load.
# Usage: tools/bench.sh [Google Benchmark options]
#   e.g. --benchmark_filter=pipeline, or --benchmark_repetitions=5 on a busy machine
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOSTWERK_WERROR=ON \
      -DKOSTWERK_BUILD_BENCHMARKS=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target kostwerk_benchmarks

echo
echo "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
     "$(awk '/^MemTotal/ { printf "%.1f GiB RAM", $2 / 1048576 }' /proc/meminfo)"
echo "Commit:  $(git rev-parse --short HEAD 2>/dev/null || echo unknown)$(git diff --quiet HEAD 2>/dev/null || echo ' (with local changes)')"
echo "Load:    $(cut -d ' ' -f 1-3 /proc/loadavg)"

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
for program in "$build"/bench/*/kostwerk_bench_*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  echo
  "$program" --benchmark_out="$results/$(basename "$program").csv" --benchmark_out_format=csv "$@"
done

core="$results/kostwerk_bench_core.csv"
window="$results/kostwerk_bench_window.csv"
echo
echo "Targets (MB = 2^20 bytes; real time):"
[ -f "$core" ] && awk -F, '
  { gsub(/"/, "") }
  # With --benchmark_repetitions the median stands for the runs.
  $1 ~ /_(mean|stddev|cv)$/ { next }
  { sub(/_median$/, "", $1) }
  $5 == "us" { $3 /= 1000 } $5 == "ns" { $3 /= 1e6 } $5 == "s" { $3 *= 1000 }
  $1 == "pipeline_weekPage/1MiB/real_time"  { small = $3 }
  $1 == "pipeline_weekPage/10MiB/real_time" { large = $3; rate = $6 / 1048576 }
  $1 ~ /^pipeline_hostilePage\// {
    split($1, part, "/")
    printf "  hostile page %-20s %8.0f ms   target < 1000 ms   %s\n", part[2], $3, ($3 < 1000 ? "met" : "MISSED")
  }
  END {
    if (large) printf "  pipeline, 10 MB page      %8.1f MB/s target >= 100    %s\n", rate, (rate >= 100 ? "met" : "MISSED")
    if (small && large) printf "  time 10 MB / time 1 MB    %8.1f      target <= 12     %s\n", large / small, (large / small <= 12 ? "met" : "MISSED")
  }' "$core"

# Start-up: Kostwerk against a bare QMainWindow (and, for comparison, one
# showing a line of text); peak_bytes is the column after error_message.
[ -f "$window" ] && awk -F, '
  { gsub(/"/, "") }
  $1 ~ /_(mean|stddev|cv)$/ { next }
  $1 ~ /^windowStartup\/kostwerk\//       { kostwerk = $3; kostwerkMemory = $11 }
  $1 ~ /^windowStartup\/bareMainWindow\// { bare = $3; bareMemory = $11 }
  $1 ~ /^windowStartup\/textMainWindow\// { text = $3 }
  END {
    if (!kostwerk || !bare) exit
    printf "  start-up / bare window    %8.1f      target <= 1.3    %s\n", kostwerk / bare, (kostwerk / bare <= 1.3 ? "met" : "MISSED")
    if (text) printf "  start-up / text window    %8.1f      (for comparison: a window that shows one line of text)\n", kostwerk / text
    delta = (kostwerkMemory - bareMemory) / 1048576
    printf "  memory above bare window  %8.1f MB   target <= 10     %s\n", delta, (delta <= 10 ? "met" : "MISSED")
  }' "$window"

# The largest hostile weeks: the day shown from a 16 MiB page within 2 s,
# either preview open within 10 s, the whole process below 1 GiB. A cache
# of 60 MiB is read before the day shows; its time there has no target, nor
# has printing 99 copies.
[ -f "$window" ] && awk -F, '
  { gsub(/"/, "") }
  $1 ~ /_(mean|stddev|cv)$/ { next }
  $1 ~ /^hostileWeek\// {
    # With repetitions the median, which comes last, stands for the runs.
    sub(/_median$/, "", $1)
    split($1, part, "/")
    name = part[2] " " part[3] " " part[4]
    if (!(name in time)) order[++count] = name
    time[name] = $3
    memory[name] = $11 / 1048576
    limit[name] = part[4] == "day" ? (part[3] ~ /Page$/ ? 2000 : 0) : part[4] == "print99" ? 0 : 10000
  }
  END {
    for (i = 1; i <= count; ++i) {
      name = order[i]
      verdict = limit[name] ? sprintf("target <= %5d ms  %-6s", limit[name], (time[name] <= limit[name] ? "met" : "MISSED")) \
                            : sprintf("%-25s", "(no target)")
      printf "  %-30s %6.0f ms  %s  %6.0f MB  target < 1024  %s\n", name, time[name], verdict, memory[name],
             (memory[name] < 1024 ? "met" : "MISSED")
    }
  }' "$window"
exit 0
