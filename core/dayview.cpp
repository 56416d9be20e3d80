// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/dayview.h"

#include "core/weekdays.h"
#include "platform/blanks.h"

#include <algorithm>
#include <functional>

namespace kostwerk::core {

namespace {

using DayViewText::categoryHeadings;

using HeadingPositions = std::array<qsizetype, categoryHeadings.size()>;

QString withoutLocations(QString text)
{
    for (QStringView name : DayViewText::locationNames)
        text.remove(name.toString());
    return text;
}

// Whether line, without the blanks around it, is heading in any case; where
// the locations are kept, location names and blanks may follow the heading.
bool isHeadingLine(QStringView line, QStringView heading, Locations locations)
{
    if (!line.startsWith(heading, Qt::CaseInsensitive))
        return false;
    const QStringView rest = line.sliced(heading.size());
    return rest.isEmpty()
           || (locations == Locations::Kept && platform::trimBlanks(withoutLocations(rest.toString())).isEmpty());
}

// Where each category heading starts: on the first line that, without the
// blanks around it, is the heading in any case, so that a heading word inside
// a dish is passed over. Only where no line is the heading, its first
// occurrence anywhere counts; so "Menü I" is still found at the start of
// "Menü II (veg.)" on a day without a "Menü I" line.
HeadingPositions headingPositions(const QString &text, Locations locations)
{
    HeadingPositions positions;
    positions.fill(-1);
    for (qsizetype lineStart = 0; lineStart <= text.size();) {
        const qsizetype nextLineBreak = text.indexOf(lineBreak, lineStart);
        const qsizetype lineEnd = nextLineBreak < 0 ? text.size() : nextLineBreak;
        const QStringView line = platform::trimBlanks(QStringView(text).sliced(lineStart, lineEnd - lineStart));
        for (std::size_t i = 0; i < positions.size(); ++i) {
            // The heading's text starts where the blanks in front of it end.
            if (positions[i] < 0 && isHeadingLine(line, categoryHeadings[i], locations))
                positions[i] = line.data() - text.constData();
        }
        lineStart = lineEnd + lineBreak.size();
    }
    for (std::size_t i = 0; i < positions.size(); ++i) {
        if (positions[i] < 0)
            positions[i] = text.indexOf(categoryHeadings[i], 0, Qt::CaseInsensitive);
    }
    return positions;
}

// From the category's heading up to the next category's heading (or
// "Frische Salate").
QString categoryOf(const QString &text, const HeadingPositions &positions, std::size_t category)
{
    const qsizetype begin = positions[category];
    if (begin < 0)
        return QString();
    qsizetype end = positions[category + 1];
    if (end < 0)
        end = positions.back();
    if (end <= begin)
        return QString();
    return text.sliced(begin, end - begin);
}

} // namespace

QString headingOf(QStringView section)
{
    // A section read back from the cache starts with a line break, and one
    // whose title was empty on the page with two or more.
    while (section.startsWith(lineBreak))
        section = section.sliced(lineBreak.size());
    const qsizetype end = section.indexOf(lineBreak);
    return (end < 0 ? section : section.first(end)).toString();
}

std::optional<DayView> dayViewOf(const WeekPlan &weekPlan, qsizetype n, Locations locations)
{
    if (n < 0 || n >= weekPlan.size())
        return std::nullopt;

    const QString text = locations == Locations::Kept ? weekPlan.at(n) : withoutLocations(weekPlan.at(n));
    const HeadingPositions positions = headingPositions(text, locations);
    DayView view{headingOf(text), {}};
    for (std::size_t category = 0; category < categoryCount; ++category)
        view.categories[category] = categoryOf(text, positions, category);
    return view;
}

bool showsAnyCategory(const WeekPlan &weekPlan)
{
    for (qsizetype n = 1; n <= Weekdays::count; ++n) {
        const std::optional<DayView> view = dayViewOf(weekPlan, n);
        if (view && std::any_of(view->categories.begin(), view->categories.end(), std::not_fn(&QString::isEmpty)))
            return true;
    }
    return false;
}

} // namespace kostwerk::core
