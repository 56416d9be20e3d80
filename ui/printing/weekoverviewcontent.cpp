#include "ui/printing/weekoverviewcontent.h"

#include "core/weekdays.h"

#include <algorithm>

namespace kostwerk::ui {

namespace {

bool isBlank(const QString &line)
{
    return line.trimmed().isEmpty();
}

// A section read back from the cache begins with an empty line, and a
// category runs on to the empty lines before the next heading.
QStringList withoutBlankEnds(QStringList lines)
{
    while (!lines.isEmpty() && isBlank(lines.constFirst()))
        lines.removeFirst();
    while (!lines.isEmpty() && isBlank(lines.constLast()))
        lines.removeLast();
    return lines;
}

// The category's name is printed once, beside its row, so each cell drops
// the heading line the day view starts the category with.
QStringList dishesOf(const QString &category)
{
    QStringList lines = category.split(core::lineBreak.toString());
    lines.removeFirst();
    return withoutBlankEnds(lines);
}

} // namespace

WeekOverviewContent weekOverviewContent(const core::WeekPlan &weekPlan)
{
    WeekOverviewContent content;
    if (weekPlan.isEmpty())
        return content;
    content.title = withoutBlankEnds(weekPlan.constFirst().split(core::lineBreak.toString()));
    const qsizetype days = std::min<qsizetype>(weekPlan.size() - 1, core::Weekdays::count);
    for (qsizetype n = 1; n <= days; ++n) {
        const core::DayView view = *core::dayViewOf(weekPlan, n);
        content.dayHeadings.append(view.heading);
        const std::array<const QString *, overviewCategoryCount> categories = {
            &view.menu1, &view.wahlessen, &view.eintopf, &view.vegetarisch, &view.abendessen};
        for (qsizetype c = 0; c < overviewCategoryCount; ++c)
            content.dishes[c].append(dishesOf(*categories[c]));
    }
    return content;
}

} // namespace kostwerk::ui
