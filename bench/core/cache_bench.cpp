// SPDX-License-Identifier: GPL-3.0-or-later

// Writing and reading the cache of a week of one megabyte: the encoding
// alone, and through real files.

#include "bench/support/peakmemory.h"
#include "bench/support/weekpagegenerator.h"
#include "core/cachefile.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

using namespace kostwerk::core;
using namespace kostwerk::bench;
using kostwerk::platform::PathBelow;

namespace {

using WeekPageGenerator::MiB;

void cache_encode(benchmark::State &state)
{
    const WeekPlan weekPlan = WeekPageGenerator::weekPlan(MiB);
    const PeakMemory peak;
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray data = CacheFile::encode(weekPlan);
        bytes = data.size();
        benchmark::DoNotOptimize(data);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    peak.report(state);
}

void cache_decode(benchmark::State &state)
{
    const QByteArray data = CacheFile::encode(WeekPageGenerator::weekPlan(MiB));
    const PeakMemory peak;
    for (auto _ : state) {
        WeekPlan weekPlan = CacheFile::decode(data);
        benchmark::DoNotOptimize(weekPlan);
    }
    state.SetBytesProcessed(state.iterations() * data.size());
    peak.report(state);
}

void cache_writeFile(benchmark::State &state)
{
    const WeekPlan weekPlan = WeekPageGenerator::weekPlan(MiB);
    const QTemporaryDir folder;
    const PathBelow file{folder.path(), QStringLiteral("cache.rfk")};
    const PeakMemory peak;
    for (auto _ : state) {
        if (!writeCache(file, weekPlan)) {
            state.SkipWithError("the cache file could not be written");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * CacheFile::encode(weekPlan).size());
    peak.report(state);
}

void cache_loadFile(benchmark::State &state)
{
    const WeekPlan weekPlan = WeekPageGenerator::weekPlan(MiB);
    const QTemporaryDir folder;
    const PathBelow file{folder.path(), QStringLiteral("cache.rfk")};
    if (!writeCache(file, weekPlan)) {
        state.SkipWithError("the cache file could not be written");
        return;
    }
    const PeakMemory peak;
    for (auto _ : state) {
        LoadedCache loaded = loadCache(file);
        benchmark::DoNotOptimize(loaded);
    }
    state.SetBytesProcessed(state.iterations() * CacheFile::encode(weekPlan).size());
    peak.report(state);
}

} // namespace

BENCHMARK(cache_encode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(cache_decode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(cache_writeFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(cache_loadFile)->Unit(benchmark::kMillisecond)->UseRealTime();
