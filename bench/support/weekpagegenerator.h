// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"

#include <QString>
#include <QStringView>

// Week pages in the canteen's format for the benchmarks: a title heading, one
// "<h2>" heading per weekday, the six category headings with their dishes,
// upper-case <BR> line breaks, the entities the canteen writes, location
// phrases and a closing rule. The same size always gives the same page.
namespace kostwerk::bench::WeekPageGenerator {

inline constexpr qsizetype KiB = 1024;
inline constexpr qsizetype MiB = 1024 * KiB;

// Days of a few dishes each, Montag to Samstag and on into the next weeks,
// until the page holds at least size characters.
QString weekPage(qsizetype size);

// A title and a single day whose categories hold as many dishes as make the
// page about size characters long.
QString dayPage(qsizetype size);

// "<h2>" + unit repeated count times + "<hr>": one section made of nothing
// but the pattern a hostile page could repeat.
QString hostilePage(QStringView unit, qsizetype count);

// The parsed week of a week page scaled so that its sections hold about size
// characters in all.
core::WeekPlan weekPlan(qsizetype size);

// The day section of a day page scaled so that it holds about size
// characters.
QString daySection(qsizetype size);

} // namespace kostwerk::bench::WeekPageGenerator
