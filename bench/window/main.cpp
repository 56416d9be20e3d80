// Start-up time and memory of the main window with a cached week against a
// bare QMainWindow, each sample a cold start in a process of its own, as a
// user meets it. Runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise.

#include "bench/support/runbenchmarks.h"
#include "bench/window/startupsample.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QtGlobal>

#include <cstring>
#include <filesystem>
#include <string>


namespace {

std::string programPath;  // this very program, run again to measure

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
    state.counters["peak_bytes"] = static_cast<double>(peakBytes);
}

} // namespace

BENCHMARK_CAPTURE(windowStartup, kostwerk, StartupWindow::Kostwerk)
    ->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(windowStartup, bareMainWindow, StartupWindow::BareMainWindow)
    ->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(windowStartup, textMainWindow, StartupWindow::TextMainWindow)
    ->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    for (StartupWindow window :
         {StartupWindow::Kostwerk, StartupWindow::BareMainWindow, StartupWindow::TextMainWindow}) {
        if (argc == 2 && std::strcmp(argv[1], modeName(window)) == 0)
            return measureStartup(argc, argv, window);
    }

    programPath = std::filesystem::read_symlink("/proc/self/exe").string();
    return runBenchmarks(argc, argv);
}
