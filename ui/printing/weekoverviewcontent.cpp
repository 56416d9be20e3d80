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

// The category's name is printed once, beside its row, so each cell drops
// the heading line the day view starts the category with.
QStringList dishesOf(QStringView category)
{
    const qsizetype end = category.indexOf(lineBreak);
    return end < 0 ? QStringList() : shownLines(category.sliced(end + lineBreak.size()), core::categoryBounds);
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
        const core::DayView view = *core::dayViewOf(weekPlan, n);
        content.dayHeadings.append(
            core::shownLines(view.heading, lineBreak, core::headingBounds, texts::StatusLine::leftOutLines)
                .constFirst());
        for (qsizetype c = 0; c < overviewCategoryCount; ++c)
            content.dishes[c].append(dishesOf(view.categories[c]));
    }
    return content;
}

} // namespace kostwerk::ui
