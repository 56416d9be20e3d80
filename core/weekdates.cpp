// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/weekdates.h"

#include "core/dayview.h"
#include "core/weekdays.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace kostwerk::core::WeekDates {

namespace {

constexpr std::array<QStringView, 12> monthNames = {u"Januar",    u"Februar", u"März",     u"April",
                                                    u"Mai",       u"Juni",    u"Juli",     u"August",
                                                    u"September", u"Oktober", u"November", u"Dezember"};

// ISO 8601; or day and month, each with a full stop, and perhaps the year
// in two or four digits; or the day with a full stop, the month's name and
// perhaps the year: never within a longer number.
const QRegularExpression &datePattern()
{
    static const QRegularExpression pattern = [] {
        QStringList months;
        for (QStringView month : monthNames)
            months.append(month.toString());
        return QRegularExpression(uR"((?<!\d)(?:(?<isoYear>\d{4})-(?<isoMonth>\d\d)-(?<isoDay>\d\d))"
                                  uR"(|(?<day>\d{1,2})\.(?:(?<month>\d{1,2})\.(?<year>\d{4}|\d\d)?)"
                                  uR"(|\s*(?<monthName>)"_qs
                                      + months.join(u'|') + uR"()\b(?:\s+(?<longYear>\d{4}))?))(?!\d))"_qs,
                                  QRegularExpression::CaseInsensitiveOption);
    }();
    return pattern;
}

// The valid date of day and month in year + k * span, k = -1, 0 or 1, that
// lies nearest to near.
QDate nearest(int day, int month, int year, int span, QDate near)
{
    QDate best;
    for (int step : {-1, 0, 1}) {
        const QDate candidate(year + step * span, month, day);
        if (candidate.isValid() && (!best.isValid() || qAbs(candidate.daysTo(near)) < qAbs(best.daysTo(near))))
            best = candidate;
    }
    return best;
}

int monthOf(QStringView name)
{
    const auto found = std::find_if(monthNames.begin(), monthNames.end(), [name](QStringView month) {
        return month.compare(name, Qt::CaseInsensitive) == 0;
    });
    return int(found - monthNames.begin()) + 1;
}

QDate dateOf(const QRegularExpressionMatch &match, QDate near)
{
    const auto number = [&match](QStringView group) { return match.capturedView(group).toInt(); };
    if (match.hasCaptured(u"isoYear"))
        return QDate(number(u"isoYear"), number(u"isoMonth"), number(u"isoDay"));
    const int day = number(u"day");
    const int month = match.hasCaptured(u"monthName") ? monthOf(match.capturedView(u"monthName")) : number(u"month");
    const QStringView year = match.hasCaptured(u"longYear") ? match.capturedView(u"longYear")
                                                            : match.capturedView(u"year");
    if (year.size() == 4)
        return QDate(year.toInt(), month, day);
    if (year.size() == 2)
        return nearest(day, month, near.year() - near.year() % 100 + year.toInt(), 100, near);
    return nearest(day, month, near.year(), 1, near);
}

} // namespace

QList<QDate> datesIn(QStringView text, QDate near)
{
    QList<QDate> dates;
    for (const QRegularExpressionMatch &match : datePattern().globalMatch(text)) {
        if (const QDate date = dateOf(match, near); date.isValid())
            dates.append(date);
    }
    return dates;
}

QStringList writtenDatesIn(QStringView text)
{
    QStringList dates;
    for (const QRegularExpressionMatch &match : datePattern().globalMatch(text))
        dates.append(match.captured().trimmed());
    return dates;
}

std::optional<QDate> lastDatedDay(const WeekPlan &week, QDate near)
{
    QList<QDate> dates;
    for (qsizetype n = 1; n <= Weekdays::count; ++n) {
        if (const std::optional<DayView> day = dayViewOf(week, n))
            dates += datesIn(day->heading, near);
    }
    if (dates.isEmpty())
        dates = datesIn(week.value(0), near);
    if (dates.isEmpty())
        return std::nullopt;
    return *std::max_element(dates.begin(), dates.end());
}

} // namespace kostwerk::core::WeekDates
