// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/weekoverviewcontent.h"

#include "core/shownlines.h"
#include "core/weekdays.h"
#include "texts/statusline.h"

#include <algorithm>

namespace kostwerk::ui {

namespace {

using core::lineBreak;

bool isBlank(QStringView line)
{
    return line.trimmed().isEmpty();
}

// A section read back from the cache begins with an empty line, and a
// category runs on to the empty lines before the next heading. Blank lines at
// either end go; a text of blank lines only leaves nothing.
QStringView withoutBlankEnds(QStringView text)
{
    for (qsizetype end = text.indexOf(lineBreak); isBlank(end < 0 ? text : text.first(end));
         end = text.indexOf(lineBreak)) {
        if (end < 0)
            return {};
        text = text.sliced(end + lineBreak.size());
    }
    // The first line is not blank, so a line break is left before a blank last line.
    for (qsizetype start = text.lastIndexOf(lineBreak); start >= 0 && isBlank(text.sliced(start));
         start = text.lastIndexOf(lineBreak))
        text.truncate(start);
    return text;
}

// The lines shown of text without the blank lines at either end.
QStringList shownLines(QStringView text, core::TextBounds bounds)
{
    text = withoutBlankEnds(text);
    return text.isEmpty() ? QStringList() : core::shownLines(text, lineBreak, bounds, texts::StatusLine::leftOutLines);
}

// The category's name is printed once, beside its row, so each cell drops the
// heading the day's category starts with and keeps the rest: the dishes, and
// what else the heading's line says, such as the location of "Abendessen
// Brunnenstraße".
QStringList dishesOf(QStringView category, QStringView heading)
{
    QStringView rest = category.sliced(std::min(heading.size(), category.size()));
    while (rest.startsWith(u' '))
        rest = rest.sliced(1);
    return shownLines(rest, core::categoryBounds);
}

// The location names that the cells hold, in the order the day view knows
// them.
QStringList locationsIn(const WeekOverviewContent &content)
{
    QStringList lines;
    for (const QList<QStringList> &row : content.dishes) {
        for (const QStringList &cell : row)
            lines += cell;
    }
    const QString cells = lines.join(u'\n');
    const auto &known = core::DayViewText::locationNames;
    QStringList found;
    // The last entry is the phrase around a name, not a name.
    for (auto name = known.begin(); name + 1 != known.end(); ++name) {
        if (cells.contains(*name))
            found.append(name->toString());
    }
    return found;
}

} // namespace

WeekOverviewContent weekOverviewContent(const core::WeekPlan &weekPlan)
{
    WeekOverviewContent content;
    if (weekPlan.isEmpty())
        return content;
    content.title = shownLines(weekPlan.constFirst(), core::categoryBounds);
    const qsizetype days = std::min<qsizetype>(weekPlan.size() - 1, core::Weekdays::count);
    for (qsizetype n = 1; n <= days; ++n) {
        const core::DayView view = *core::dayViewOf(weekPlan, n, core::Locations::Kept);
        content.dayHeadings.append(
            core::shownLines(view.heading, lineBreak, core::headingBounds, texts::StatusLine::leftOutLines)
                .constFirst());
        for (qsizetype c = 0; c < overviewCategoryCount; ++c)
            content.dishes[c].append(dishesOf(view.categories[c], core::DayViewText::categoryHeadings[c]));
    }
    content.locations = locationsIn(content);
    return content;
}

} // namespace kostwerk::ui
