// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/support/runbenchmarks.h"

#include <benchmark/benchmark.h>

int runBenchmarks(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
