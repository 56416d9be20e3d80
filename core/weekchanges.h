#pragma once

#include "core/weekplan.h"

#include <QList>

namespace kostwerk::core {

// How a week that just came in differs from the week it replaces.
struct WeekChanges
{
    enum class Kind {
        NoEarlierWeek,  // nothing was shown before: nothing to compare
        NewWeek,        // the title section differs: another week altogether
        SameWeek,       // the same week, perhaps with some days changed
    };

    Kind kind = Kind::NoEarlierWeek;
    QList<int> changedDays;  // weekday indexes (0 = Montag), for SameWeek only

    bool operator==(const WeekChanges &) const = default;
};

// Compares the two weeks by what the day view shows of each section, so that
// links, location names and blanks at line ends make no difference, nor does
// the line break a section read back from the cache begins with. The days
// compared are the six weekdays; a weekday that only one of the weeks holds
// counts as changed, since the window shows "no data" for it in the other.
WeekChanges compareWeeks(const WeekPlan &earlier, const WeekPlan &fetched);

} // namespace kostwerk::core
