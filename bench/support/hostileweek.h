// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"

#include <QString>

// Week pages of the shapes that cost a text layout the most, each filling a
// page to a given size with six days, a title and every category. The same
// shape and size always give the same page.
namespace kostwerk::bench::HostileWeek {

enum class Shape {
    // Each category of each day holds one run of letters without a blank or
    // any other place to break a line, a thirtieth of the page.
    LongRuns,
    // The title and each day's heading are one line of words, a seventh of
    // the page each.
    HugeLines,
    // Each category of each day holds lines of a single short word: more
    // than two million lines on a 16 MiB page.
    ShortLines,
};

// The name the benchmarks give the shape.
const char *nameOf(Shape shape);

// A week page of the shape, about size characters long.
QString page(Shape shape, qsizetype size);

// The week the program makes of that page.
core::WeekPlan weekPlan(Shape shape, qsizetype size);

} // namespace kostwerk::bench::HostileWeek
