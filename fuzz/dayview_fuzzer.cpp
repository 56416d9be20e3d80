// SPDX-License-Identifier: GPL-3.0-or-later

// The day view of any section, read as Windows-1252 and as UTF-8.

#include "core/dayview.h"
#include "fuzz/fuzzcheck.h"

#include <QRegularExpression>

#include <array>

using namespace kostwerk::core;

using Fuzz::require;

namespace {

// The section as the day view reads it: every location name removed.
QString withoutLocations(QString section)
{
    for (QStringView name : DayViewText::locationNames)
        section.remove(name.toString());
    return section;
}

// Where a heading starts, the plain way: on the first line that is the
// heading once the blanks around it are gone, ignoring case; else at its first
// occurrence anywhere.
qsizetype headingPosition(const QString &text, QStringView heading)
{
    static const QRegularExpression blanksAround(QStringLiteral("^ *(.*?) *\\z"),
                                                 QRegularExpression::DotMatchesEverythingOption);
    qsizetype lineStart = 0;
    for (const QString &line : text.split(lineBreak.toString())) {
        const QRegularExpressionMatch match = blanksAround.match(line);
        if (match.captured(1).compare(heading, Qt::CaseInsensitive) == 0)
            return lineStart + match.capturedStart(1);
        lineStart += line.size() + lineBreak.size();
    }
    return text.indexOf(heading, 0, Qt::CaseInsensitive);
}

// The view the rules give, written the plain way to hold the faster one to.
DayView modelView(const QString &text)
{
    QString rest = text;
    while (rest.startsWith(lineBreak))
        rest.remove(0, lineBreak.size());
    std::array<QString, categoryCount> categories;
    const auto &headings = DayViewText::categoryHeadings;
    for (std::size_t i = 0; i < categories.size(); ++i) {
        const qsizetype begin = headingPosition(text, headings[i]);
        qsizetype end = headingPosition(text, headings[i + 1]);
        if (end < 0)
            end = headingPosition(text, headings.back());
        if (begin >= 0 && end > begin)
            categories[i] = text.mid(begin, end - begin);
    }
    return DayView{rest.section(lineBreak.toString(), 0, 0), categories};
}

void check(const QString &section)
{
    const WeekPlan weekPlan{QStringLiteral("Speiseplan"), section};
    const DayView view = *dayViewOf(weekPlan, 1);

    require(!view.heading.contains(lineBreak), "the heading holds no CR LF");
    require(view == modelView(withoutLocations(section)), "the view is what the rules give, written the plain way");

    // The cache gives every section a CR LF in front; the view must not change.
    const WeekPlan cached{weekPlan.at(0), lineBreak + section};
    require(dayViewOf(cached, 1) == view, "a section read back from the cache shows alike");

    require(!dayViewOf(weekPlan, 2) && !dayViewOf(weekPlan, -1), "a day beyond the week has no view");

    // The view that keeps the locations differs only where the section
    // names one.
    const DayView kept = *dayViewOf(weekPlan, 1, Locations::Kept);
    require(!kept.heading.contains(lineBreak), "the heading keeping locations holds no CR LF");
    require(withoutLocations(section) != section || kept == view, "without locations, keeping them changes nothing");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::checkBothEncodings(data, size, check);
}
