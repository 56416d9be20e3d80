#pragma once

#include <QDate>

#include <optional>

namespace kostwerk::core::Weekdays {

inline constexpr int count = 6;  // Montag (0) ... Samstag (5)

// The weekday button to preselect: Sonntag and Montag give 0 (Montag),
// Dienstag 1, ..., Samstag 5. Nothing for an invalid date.
std::optional<int> todayWeekdayIndex(QDate date);

} // namespace kostwerk::core::Weekdays
