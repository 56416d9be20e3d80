#pragma once

#include <QDate>
#include <QString>

#include <optional>

// The date rules of start-up, with German weekday names of our own so that
// they do not depend on the system's language.
namespace Weekdays {

inline constexpr int count = 6;  // Montag (0) ... Samstag (5)

QString germanName(QDate date);

// The weekday button to preselect: Sonntag and Montag give 0 (Montag),
// Dienstag 1, ..., Samstag 5. Nothing for an invalid date.
std::optional<int> todayWeekdayIndex(QDate date);

// For example "Montag, der 19.11.01".
QString dateLine(QDate date);

} // namespace Weekdays
