// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/weekdays.h"

#include <QRegularExpression>

namespace kostwerk::core::Weekdays {

std::optional<int> weekdayIndex(QDate date)
{
    if (!date.isValid() || date.dayOfWeek() == Qt::Sunday)
        return std::nullopt;
    return date.dayOfWeek() - 1;
}

std::optional<int> todayWeekdayIndex(QDate date)
{
    if (!date.isValid())
        return std::nullopt;
    return weekdayIndex(date).value_or(0);
}

bool isOutdated(const QDateTime &fetched, QDate today)
{
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    return fetched.date() < monday || fetched.date() > today;
}

QStringList datesIn(QStringView text)
{
    static const QRegularExpression date(QStringLiteral(R"(\b\d{1,2}\.\d{1,2}\.(\d{2,4})?)"));
    QStringList dates;
    for (const QRegularExpressionMatch &match : date.globalMatch(text))
        dates.append(match.captured());
    return dates;
}

} // namespace kostwerk::core::Weekdays
