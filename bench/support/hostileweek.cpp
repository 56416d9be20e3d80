// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/support/hostileweek.h"

#include "core/weekpage.h"

#include <array>

namespace kostwerk::bench::HostileWeek {

namespace {

constexpr std::array<QStringView, 6> days = {u"Montag, 07.12.2026",   u"Dienstag, 08.12.2026",
                                             u"Mittwoch, 09.12.2026", u"Donnerstag, 10.12.2026",
                                             u"Freitag, 11.12.2026",  u"Samstag, 12.12.2026"};

constexpr std::array<QStringView, 6> categoryHeadings = {u"Men&uuml; I",         u"Wahlessen",  u"Eintopf",
                                                         u"Men&uuml; II (veg.)", u"Abendessen", u"Frische Salate"};

// What the days and the title take besides the filling.
constexpr qsizetype frameSize = 4096;

// unit repeated as often as fits into size characters.
QString filling(QStringView unit, qsizetype size)
{
    return unit.toString().repeated(size / unit.size());
}

} // namespace

const char *nameOf(Shape shape)
{
    switch (shape) {
    case Shape::LongRuns:
        return "longRuns";
    case Shape::HugeLines:
        return "hugeLines";
    case Shape::ShortLines:
        break;
    }
    return "shortLines";
}

QString page(Shape shape, qsizetype size)
{
    // What each huge line, or the categories of each day, hold.
    const qsizetype share = (size - frameSize) / (shape == Shape::HugeLines ? 7 : 6);
    const QString words = shape == Shape::HugeLines ? u' ' + filling(u"Kartoffelsuppe mit Majoran ", share) : QString();
    QString page;
    page.reserve(size);
    page += u"<html>\r\n<body>\r\n<h2>Speiseplan der Mensa Refekt" + words
            + u"</h2><BR>\r\nWoche vom 07.12.2026 bis 12.12.2026<BR>\r\n";
    for (QStringView day : days) {
        page += u"<h2>" + day + words + u"</h2><BR>\r\n";
        for (std::size_t c = 0; c < categoryHeadings.size(); ++c) {
            page += u"<b>" + categoryHeadings[c] + u"</b><BR>\r\n";
            const bool shown = c + 1 < categoryHeadings.size();
            if (shape == Shape::LongRuns && shown)
                page += filling(u"Kartoffelsuppe", share / 5) + u"<BR>\r\n";
            else if (shape == Shape::ShortLines && shown)
                page += filling(u"Brot<BR>", share / 5) + u"\r\n";
            else
                page += u"Gulasch mit Nudeln 3,20&nbsp;EUR<BR>\r\n";
        }
    }
    page += u"<hr>\r\n</body>\r\n</html>\r\n";
    return page;
}

core::WeekPlan weekPlan(Shape shape, qsizetype size)
{
    return core::WeekPage::parse(page(shape, size), core::WeekPlan()).weekPlan;
}

} // namespace kostwerk::bench::HostileWeek
