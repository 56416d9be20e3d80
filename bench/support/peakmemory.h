// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <benchmark/benchmark.h>

#include <QtGlobal>

// How far the resident memory of the process rises during a stretch of a
// benchmark. Linux keeps a high-water mark of the resident set that
// /proc/self/clear_refs resets, so each benchmark gets its own peak instead
// of the whole run's.
class PeakMemory final
{
public:
    // Resets the high-water mark to what the process holds now.
    PeakMemory();

    // Adds the counter "peak_bytes": the high-water mark minus what the
    // process held at construction, and with input bytes given, the peak
    // per input byte as "peak_per_byte". Adds nothing where the mark cannot
    // be reset.
    void report(benchmark::State &state, qint64 input = 0) const;

private:
    bool m_resettable = false;
    qint64 m_baseline = 0;
};
