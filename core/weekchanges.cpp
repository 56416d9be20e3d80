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

// The day view of section n as far as a reader sees a difference. Every line
// break in front goes first: the day view skips just the one a section read
// back from the cache begins with, so a fresh section that itself began with
// an empty line would read differently after a restart.
std::optional<DayView> comparableView(const WeekPlan &weekPlan, qsizetype n)
{
    if (n >= weekPlan.size())
        return std::nullopt;
    QStringView section = weekPlan.at(n);
    while (section.startsWith(lineBreak))
        section = section.sliced(lineBreak.size());
    std::optional<DayView> view = dayViewOf(WeekPlan{section.toString()}, 0);
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
