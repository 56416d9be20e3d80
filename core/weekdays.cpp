// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/weekdays.h"

namespace kostwerk::core::Weekdays {

std::optional<int> todayWeekdayIndex(QDate date)
{
    if (!date.isValid())
        return std::nullopt;
    const int dayOfWeek = date.dayOfWeek();
    return dayOfWeek == Qt::Sunday ? 0 : dayOfWeek - 1;
}

bool isOutdated(const QDateTime &fetched, QDate today)
{
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    return fetched.date() < monday || fetched.date() > today;
}

} // namespace kostwerk::core::Weekdays
