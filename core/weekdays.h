// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"

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

// True when week, fetched at fetched, is no longer today's: the last day
// it dates (core/weekdates.h) lies before this week's Monday, or, in a week
// that names no date, it was fetched before that Monday. A fetch dated after
// today (a clock that was wrong) tells nothing about the week, so it counts
// as outdated too.
bool isOutdated(const WeekPlan &week, const QDateTime &fetched, QDate today);

} // namespace kostwerk::core::Weekdays
