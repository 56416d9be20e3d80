#include "core/dayview.h"

namespace kostwerk::core {

namespace {

QString withoutLocations(QString text)
{
    for (QStringView name : DayViewText::locationNames)
        text.remove(name.toString());
    return text;
}

// The first line; a section read back from the cache starts with a line
// break, so the search for the end of the line starts at the second character.
QString headingOf(const QString &text)
{
    const qsizetype end = text.indexOf(lineBreak, 1);
    QString heading = end < 0 ? text : text.left(end);
    return heading.remove(lineBreak.toString());
}

// From the category's heading up to the next category's heading (or
// "Frische Salate"). Every search starts at the beginning of the text and
// ignores case, so a heading word inside a dish name is found there.
QString categoryOf(const QString &text, qsizetype category)
{
    using DayViewText::categoryHeadings;
    const qsizetype begin = text.indexOf(categoryHeadings[category], 0, Qt::CaseInsensitive);
    if (begin < 0)
        return QString();
    qsizetype end = text.indexOf(categoryHeadings[category + 1], 0, Qt::CaseInsensitive);
    if (end < 0)
        end = text.indexOf(categoryHeadings.back(), 0, Qt::CaseInsensitive);
    if (end <= begin)
        return QString();
    return text.sliced(begin, end - begin);
}

} // namespace

std::optional<DayView> dayViewOf(const WeekPlan &weekPlan, qsizetype n)
{
    if (n < 0 || n >= weekPlan.size())
        return std::nullopt;

    const QString text = withoutLocations(weekPlan.at(n));
    return DayView{headingOf(text),  categoryOf(text, 0), categoryOf(text, 1),
                   categoryOf(text, 2), categoryOf(text, 3), categoryOf(text, 4)};
}

} // namespace kostwerk::core
