// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"

#include <QList>

namespace kostwerk::core {

// How a week that just came in differs from the week it replaces.
struct WeekChanges
{
    enum class Kind {
        NoEarlierWeek, // nothing was shown before: nothing to compare
        NewWeek,       // the title or the days' dates differ: another week altogether
        SameWeek,      // the same week, perhaps with some days changed
    };

    Kind kind = Kind::NoEarlierWeek;
    QList<int> changedDays; // weekday indexes (0 = Montag), for SameWeek only
    // For SameWeek, per weekday index, the categories whose text changed, as
    // indexes into DayViewText::categoryHeadings.
    QList<QList<int>> changedCategories;

    bool operator==(const WeekChanges &) const = default;
};

// Compares the two weeks as the cache file keeps them, so that a week read
// back after a restart equals the one fetched: the line break a section read
// from the cache begins with, and a ";;;" that comes back as a comma, make no
// difference. The fetched week is a new week when any line of its title
// differs (blanks at line ends aside), or when its weekday headings name
// other dates. Otherwise the six weekdays are compared by what the day view
// shows of them, so that location names and blanks at line ends make no
// difference either; a weekday that only one of the weeks holds counts as
// changed, since the window shows "no data" for it in the other, and so does
// each category it shows.
WeekChanges compareWeeks(const WeekPlan &earlier, const WeekPlan &fetched);

} // namespace kostwerk::core
