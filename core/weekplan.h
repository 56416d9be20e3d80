// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

namespace kostwerk::core {

// The week's sections, indexed from 0: section 0 is the page's title, the
// weekday with index d (0 = Montag ... 5 = Samstag) is section d + 1.
// Sections use CR LF line breaks.
using WeekPlan = QStringList;

inline constexpr QStringView lineBreak = u"\r\n";

} // namespace kostwerk::core
