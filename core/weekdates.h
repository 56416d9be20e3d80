// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"

#include <QDate>
#include <QList>
#include <QStringList>

#include <optional>

// The dates a week names, in the notations canteens write them in.
namespace kostwerk::core::WeekDates {

// The dates text names, in their order: "7.12." and "07.12.", "07.12.26",
// "07.12.2026", "7. Dezember 2026" with or without the year, and
// "2026-12-07". A date without its year lies in the year that puts it
// nearest to near, the day the week was fetched; a two-digit year in the
// century that does. What is no valid date, such as "31.02.", and a number
// within a longer one are left out.
QList<QDate> datesIn(QStringView text, QDate near);

// The same dates as text writes them, such as "07.12." or "7. Dezember 2026".
QStringList writtenDatesIn(QStringView text);

// The last day of the week that its weekday headings date, or, where none
// of them names a date, that its title dates; nothing when neither does.
std::optional<QDate> lastDatedDay(const WeekPlan &week, QDate near);

} // namespace kostwerk::core::WeekDates
