// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Runs the registered benchmarks with the command line's options, as
// BENCHMARK_MAIN would; for programs that prepare something first.
int runBenchmarks(int argc, char **argv);
