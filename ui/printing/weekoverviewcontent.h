// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/dayview.h"

#include <array>

namespace kostwerk::ui {

// The overview's rows are the day view's categories.
inline constexpr qsizetype overviewCategoryCount = core::categoryCount;

// What the week overview shows, as lines of text: the week's title, a heading
// per day (Montag first), and per category the dishes of each day; and the
// location names the dishes hold.
struct WeekOverviewContent
{
    QStringList title;
    QStringList dayHeadings;
    std::array<QList<QStringList>, overviewCategoryCount> dishes; // [category][day]
    QStringList locations;
};

// The title is section 0 and the days are sections 1 to 6, as many as the
// week holds; a day's dishes are the lines of its day view category after the
// category's heading, with the location names kept, so that a sheet pinned up
// at one canteen tells what only another serves. Empty lines at either end of
// the title or of a day's dishes are left out. No day headings when the week has no day. A
// heading beyond core::headingBounds, and a title or dishes beyond
// core::categoryBounds, are cut with "…", as the window cuts them.
WeekOverviewContent weekOverviewContent(const core::WeekPlan &weekPlan);

} // namespace kostwerk::ui
