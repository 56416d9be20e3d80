// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QDateTime>

#include <optional>

namespace kostwerk::core::Weekdays {

inline constexpr int count = 6; // Montag (0) ... Samstag (5)

// The weekday button to preselect: Sonntag and Montag give 0 (Montag),
// Dienstag 1, ..., Samstag 5. Nothing for an invalid date.
std::optional<int> todayWeekdayIndex(QDate date);

// True when a week fetched at fetched is no longer today's: it was fetched
// before this week's Monday. A fetch dated after today (a clock that was
// wrong) tells nothing about the week, so it counts as outdated too.
bool isOutdated(const QDateTime &fetched, QDate today);

} // namespace kostwerk::core::Weekdays
