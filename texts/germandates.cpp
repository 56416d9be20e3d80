// SPDX-License-Identifier: GPL-3.0-or-later

#include "texts/germandates.h"

#include <array>

namespace kostwerk::texts::GermanDates {

namespace {

// Indexed by QDate::dayOfWeek(), 1 = Monday ... 7 = Sunday.
constexpr std::array<QStringView, 8> names = {u"",           u"Montag",  u"Dienstag", u"Mittwoch",
                                              u"Donnerstag", u"Freitag", u"Samstag",  u"Sonntag"};

} // namespace

QString weekdayName(QDate date)
{
    return date.isValid() ? names[date.dayOfWeek()].toString() : QString();
}

QString weekdayNameAt(int index)
{
    return names.at(index + 1).toString();
}

QString dateLine(QDate date)
{
    return weekdayName(date) + u", der " + date.toString(u"dd.MM.yy");
}

} // namespace kostwerk::texts::GermanDates
