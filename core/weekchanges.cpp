// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/weekchanges.h"

#include "core/cachefile.h"
#include "core/dayview.h"
#include "core/weekdays.h"

#include <optional>

namespace kostwerk::core {

namespace {

// The week as it reads back from the cache file, which gives a ";;;" back
// as a comma, and puts a line break in front of every section.
WeekPlan asStored(const WeekPlan &weekPlan)
{
    return CacheFile::decode(CacheFile::encode(weekPlan));
}

// Blanks before a line break are not seen in the window.
QString withoutTrailingBlanks(const QString &text)
{
    QStringList lines = text.split(lineBreak.toString());
    for (QString &line : lines) {
        while (line.endsWith(u' '))
            line.chop(1);
    }
    return lines.join(lineBreak);
}

// The title's lines without the empty ones around them: a title read back
// from the cache begins with one.
QStringList titleLines(const WeekPlan &weekPlan)
{
    QStringList lines = withoutTrailingBlanks(weekPlan.value(0)).split(lineBreak.toString());
    while (!lines.isEmpty() && lines.constFirst().isEmpty())
        lines.removeFirst();
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

// The day view of section n as far as a reader sees a difference; the day
// view itself passes over the line breaks a section begins with.
std::optional<DayView> comparableView(const WeekPlan &weekPlan, qsizetype n)
{
    std::optional<DayView> view = dayViewOf(weekPlan, n);
    if (!view)
        return view;
    view->heading = withoutTrailingBlanks(view->heading);
    for (QString &category : view->categories)
        category = withoutTrailingBlanks(category);
    return view;
}

} // namespace

WeekChanges compareWeeks(const WeekPlan &earlierWeek, const WeekPlan &fetchedWeek)
{
    WeekChanges changes;
    if (earlierWeek.isEmpty())
        return changes;
    const WeekPlan earlier = asStored(earlierWeek);
    const WeekPlan fetched = asStored(fetchedWeek);
    QList<std::optional<DayView>> earlierDays;
    QList<std::optional<DayView>> fetchedDays;
    bool otherDates = false;
    for (int day = 1; day <= Weekdays::count; ++day) {
        earlierDays.append(comparableView(earlier, day));
        fetchedDays.append(comparableView(fetched, day));
        if (earlierDays.last() && fetchedDays.last())
            otherDates = otherDates
                         || Weekdays::datesIn(earlierDays.last()->heading)
                                != Weekdays::datesIn(fetchedDays.last()->heading);
    }
    if (otherDates || titleLines(earlier) != titleLines(fetched)) {
        changes.kind = WeekChanges::Kind::NewWeek;
        return changes;
    }
    changes.kind = WeekChanges::Kind::SameWeek;
    changes.changedCategories.resize(Weekdays::count);
    for (int day = 0; day < Weekdays::count; ++day) {
        if (earlierDays[day] == fetchedDays[day])
            continue;
        changes.changedDays.append(day);
        // A day that one week lacks shows empty categories there.
        const DayView before = earlierDays[day].value_or(DayView{});
        const DayView after = fetchedDays[day].value_or(DayView{});
        for (int c = 0; c < int(categoryCount); ++c) {
            if (before.categories[c] != after.categories[c])
                changes.changedCategories[day].append(c);
        }
    }
    return changes;
}

} // namespace kostwerk::core
