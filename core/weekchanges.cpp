#include "core/weekchanges.h"

#include "core/dayview.h"
#include "core/weekdays.h"

#include <optional>

namespace kostwerk::core {

namespace {

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

// The day view of section n as far as a reader sees a difference; the day
// view itself passes over the line breaks a section begins with.
std::optional<DayView> comparableView(const WeekPlan &weekPlan, qsizetype n)
{
    std::optional<DayView> view = dayViewOf(weekPlan, n);
    if (!view)
        return view;
    for (QString *field : {&view->heading, &view->menu1, &view->wahlessen, &view->eintopf, &view->vegetarisch,
                           &view->abendessen})
        *field = withoutTrailingBlanks(*field);
    return view;
}

} // namespace

WeekChanges compareWeeks(const WeekPlan &earlier, const WeekPlan &fetched)
{
    WeekChanges changes;
    if (earlier.isEmpty())
        return changes;
    if (comparableView(earlier, 0) != comparableView(fetched, 0)) {
        changes.kind = WeekChanges::Kind::NewWeek;
        return changes;
    }
    changes.kind = WeekChanges::Kind::SameWeek;
    for (int day = 0; day < Weekdays::count; ++day) {
        if (comparableView(earlier, day + 1) != comparableView(fetched, day + 1))
            changes.changedDays.append(day);
    }
    return changes;
}

} // namespace kostwerk::core
