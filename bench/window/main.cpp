// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up time and memory of the main window with a cached week against a
// bare QMainWindow, and how long the window and its print previews take to
// open with the largest hostile weeks; each sample a cold start in a process
// of its own, as a user meets it. Runs on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise.

#include "bench/support/hostileweek.h"
#include "bench/support/runbenchmarks.h"
#include "bench/support/weekpagegenerator.h"
#include "bench/window/startupsample.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

using kostwerk::bench::HostileWeek::Shape;
using kostwerk::bench::WeekPageGenerator::MiB;

namespace {

std::string programPath; // this very program, run again to measure

void report(benchmark::State &state, qint64 peakBytes, qint64 longestStepNanoseconds = 0)
{
    state.counters["peak_bytes"] = static_cast<double>(peakBytes);
    if (longestStepNanoseconds > 0)
        state.counters["longest_step_ms"] = static_cast<double>(longestStepNanoseconds) / 1e6;
}

void windowStartup(benchmark::State &state, StartupWindow window)
{
    qint64 peakBytes = 0;
    for (auto _ : state) {
        StartupSample sample;
        if (!runStartup(programPath.c_str(), window, sample)) {
            state.SkipWithError("the measuring process failed");
            return;
        }
        state.SetIterationTime(static_cast<double>(sample.nanoseconds) / 1e9);
        peakBytes = qMax(peakBytes, sample.peakBytes);
    }
    report(state, peakBytes);
}

// The largest weeks that can reach the program: a page of the largest size
// a download takes, and a cache file just under the largest size read.
struct HostileCase
{
    Shape shape;
    qsizetype pageSize;
    const char *name;
};

constexpr HostileCase hostileCases[] = {
    {Shape::LongRuns, 16 * MiB, "longRuns/16MiBPage"},
    {Shape::HugeLines, 16 * MiB, "hugeLines/16MiBPage"},
    {Shape::ShortLines, 16 * MiB, "shortLines/16MiBPage"},
    {Shape::LongRuns, 60 * MiB, "longRuns/60MiBCache"},
};

// The program folder of each case, made on first use and kept for the run.
QString programFolderOf(const HostileCase &hostile)
{
    static std::map<const HostileCase *, std::unique_ptr<QTemporaryDir>> folders;
    std::unique_ptr<QTemporaryDir> &folder = folders[&hostile];
    if (!folder) {
        folder = std::make_unique<QTemporaryDir>();
        if (!prepareProgramFolder(folder->path(),
                                  kostwerk::bench::HostileWeek::weekPlan(hostile.shape, hostile.pageSize)))
            return QString();
    }
    return folder->path();
}

void hostileWeek(benchmark::State &state, const HostileCase &hostile, Opening opening)
{
    const QString folder = programFolderOf(hostile);
    qint64 peakBytes = 0;
    qint64 longestStep = 0;
    for (auto _ : state) {
        StartupSample sample;
        if (folder.isEmpty() || !runOpening(programPath.c_str(), opening, folder, sample)) {
            state.SkipWithError("the measuring process failed");
            return;
        }
        state.SetIterationTime(static_cast<double>(sample.nanoseconds) / 1e9);
        peakBytes = qMax(peakBytes, sample.peakBytes);
        longestStep = qMax(longestStep, sample.longestStepNanoseconds);
    }
    report(state, peakBytes, longestStep);
}

} // namespace

BENCHMARK_CAPTURE(windowStartup, kostwerk, StartupWindow::Kostwerk)
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(windowStartup, bareMainWindow, StartupWindow::BareMainWindow)
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(windowStartup, textMainWindow, StartupWindow::TextMainWindow)
    ->UseManualTime()
    ->Iterations(15)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    for (StartupWindow window :
         {StartupWindow::Kostwerk, StartupWindow::BareMainWindow, StartupWindow::TextMainWindow}) {
        if (argc == 2 && std::strcmp(argv[1], modeName(window)) == 0)
            return measureStartup(argc, argv, window);
    }
    for (Opening opening : {Opening::Day, Opening::WeekOverview, Opening::PrintPreview, Opening::PrintCopies}) {
        if (argc == 3 && std::strcmp(argv[1], modeName(opening)) == 0)
            return measureOpening(argc, argv, opening, argv[2]);
    }

    // Targets: the day shown within 2 s, either preview open within 10 s,
    // the process below 1 GiB (tools/bench.sh compares). 99 copies take the
    // time they need; what counts is that no step holds up the window long.
    for (const HostileCase &hostile : hostileCases) {
        for (auto [opening, name] :
             {std::pair(Opening::Day, "day"), std::pair(Opening::WeekOverview, "overview"),
              std::pair(Opening::PrintPreview, "preview"), std::pair(Opening::PrintCopies, "print99")}) {
            benchmark::RegisterBenchmark((std::string("hostileWeek/") + hostile.name + '/' + name).c_str(), hostileWeek,
                                         hostile, opening)
                ->UseManualTime()
                ->Iterations(3)
                ->Unit(benchmark::kMillisecond);
        }
    }
    programPath = std::filesystem::read_symlink("/proc/self/exe").string();
    return runBenchmarks(argc, argv);
}
