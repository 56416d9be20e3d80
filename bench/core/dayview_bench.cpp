// SPDX-License-Identifier: GPL-3.0-or-later

// The day view of one section: a day of ordinary length, and one grown to
// a megabyte.

#include "bench/support/peakmemory.h"
#include "bench/support/weekpagegenerator.h"
#include "core/dayview.h"

#include <benchmark/benchmark.h>

using namespace kostwerk::core;
using namespace kostwerk::bench;

namespace {

using WeekPageGenerator::KiB;
using WeekPageGenerator::MiB;

void dayView_section(benchmark::State &state, qsizetype size)
{
    const WeekPlan weekPlan{QStringLiteral("Speiseplan"), WeekPageGenerator::daySection(size)};
    const DayView view = dayViewOf(weekPlan, 1).value_or(DayView{});
    if (view[Category::MenuOne].isEmpty() || view[Category::Dinner].isEmpty()) {
        state.SkipWithError("the generated section is not a day");
        return;
    }
    const PeakMemory peak;
    for (auto _ : state) {
        std::optional<DayView> day = dayViewOf(weekPlan, 1);
        benchmark::DoNotOptimize(day);
    }
    state.SetBytesProcessed(state.iterations() * weekPlan.at(1).size());
    peak.report(state);
}

} // namespace

BENCHMARK_CAPTURE(dayView_section, 2KiB, 2 * KiB)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(dayView_section, 1MiB, 1 * MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
