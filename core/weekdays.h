// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QDateTime>
#include <QStringList>

#include <optional>

namespace kostwerk::core::Weekdays {

inline constexpr int count = 6; // Montag (0) ... Samstag (5)

// The weekday index of date: Montag 0, ..., Samstag 5; nothing on a Sunday
// and for an invalid date.
std::optional<int> weekdayIndex(QDate date);

// The weekday button to preselect: Sonntag and Montag give 0 (Montag),
// Dienstag 1, ..., Samstag 5. Nothing for an invalid date.
std::optional<int> todayWeekdayIndex(QDate date);

// True when a week fetched at fetched is no longer today's: it was fetched
// before this week's Monday. A fetch dated after today (a clock that was
// wrong) tells nothing about the week, so it counts as outdated too.
bool isOutdated(const QDateTime &fetched, QDate today);

// The dates text names as a week page writes them, such as "07.12." or
// "07.12.2026", in their order.
QStringList datesIn(QStringView text);

} // namespace kostwerk::core::Weekdays
