// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/support/peakmemory.h"

#include <fstream>
#include <limits>
#include <string>

namespace {

// A "Vm...:  1234 kB" line of /proc/self/status in bytes, or -1.
qint64 statusValue(const std::string &field)
{
    std::ifstream status("/proc/self/status");
    std::string name;
    while (status >> name) {
        if (name == field + ':') {
            qint64 kib = -1;
            status >> kib;
            return kib < 0 ? -1 : kib * 1024;
        }
        status.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return -1;
}

bool resetHighWaterMark()
{
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5"; // 5: reset the peak resident set size
    clearRefs.flush();
    return clearRefs.good();
}

} // namespace

PeakMemory::PeakMemory()
    : m_resettable(resetHighWaterMark())
    , m_baseline(statusValue("VmRSS"))
{
}

void PeakMemory::report(benchmark::State &state, qint64 input) const
{
    const qint64 peak = statusValue("VmHWM");
    if (!m_resettable || peak < 0 || m_baseline < 0)
        return;
    const auto rise = static_cast<double>(peak - m_baseline);
    state.counters["peak_bytes"] = benchmark::Counter(rise, benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    if (input > 0)
        state.counters["peak_per_byte"] = rise / static_cast<double>(input);
}
