// SPDX-License-Identifier: GPL-3.0-or-later

// What a fetch adds to the page pipeline with the largest hostile weeks:
// comparing the week with the one before, where both are such weeks.

#include "bench/support/hostileweek.h"
#include "bench/support/peakmemory.h"
#include "bench/support/weekpagegenerator.h"
#include "core/weekchanges.h"

#include <benchmark/benchmark.h>

using namespace kostwerk::core;
using namespace kostwerk::bench;

namespace {

void weekChanges_hostileWeek(benchmark::State &state, HostileWeek::Shape shape)
{
    const WeekPlan earlier = HostileWeek::weekPlan(shape, 16 * WeekPageGenerator::MiB);
    // A copy of its own, as a fetched week would be.
    const WeekPlan fetched = HostileWeek::weekPlan(shape, 16 * WeekPageGenerator::MiB);
    const PeakMemory peak;
    for (auto _ : state) {
        WeekChanges changes = compareWeeks(earlier, fetched, QDate(2026, 12, 8));
        benchmark::DoNotOptimize(changes);
    }
    peak.report(state);
}

} // namespace

BENCHMARK_CAPTURE(weekChanges_hostileWeek, longRuns, HostileWeek::Shape::LongRuns)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(weekChanges_hostileWeek, hugeLines, HostileWeek::Shape::HugeLines)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(weekChanges_hostileWeek, shortLines, HostileWeek::Shape::ShortLines)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
