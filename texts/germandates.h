// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QString>

// German weekday names of our own, so that the window reads the same
// whatever the system's language.
namespace kostwerk::texts::GermanDates {

// "Montag" ... "Sonntag"; empty for an invalid date.
QString weekdayName(QDate date);

// The name of the weekday with index 0 = Montag ... 6 = Sonntag.
QString weekdayNameAt(int index);

// For example "Montag, der 19.11.01".
QString dateLine(QDate date);

} // namespace kostwerk::texts::GermanDates
