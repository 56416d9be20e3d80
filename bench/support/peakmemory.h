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
    // process held at construction. Adds nothing where the mark cannot be
    // reset.
    void report(benchmark::State &state) const;

private:
    bool m_resettable = false;
    qint64 m_baseline = 0;
};
