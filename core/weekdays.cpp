// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/weekdays.h"

#include "core/weekdates.h"

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

bool isOutdated(const WeekPlan &week, const QDateTime &fetched, QDate today)
{
    if (fetched.date() > today)
        return true;
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    return WeekDates::lastDatedDay(week, fetched.date()).value_or(fetched.date()) < monday;
}

} // namespace kostwerk::core::Weekdays
