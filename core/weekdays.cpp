#include "weekdays.h"

#include <array>

namespace {

// Indexed by QDate::dayOfWeek(), 1 = Monday ... 7 = Sunday.
constexpr std::array<QStringView, 8> names = {
    u"", u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag", u"Freitag", u"Samstag", u"Sonntag"};

} // namespace

namespace Weekdays {

QString germanName(QDate date)
{
    return date.isValid() ? names[date.dayOfWeek()].toString() : QString();
}

std::optional<int> todayWeekdayIndex(QDate date)
{
    if (!date.isValid())
        return std::nullopt;
    const int dayOfWeek = date.dayOfWeek();
    return dayOfWeek == Qt::Sunday ? 0 : dayOfWeek - 1;
}

QString dateLine(QDate date)
{
    return germanName(date) + u", der " + date.toString(u"dd.MM.yy");
}

} // namespace Weekdays
