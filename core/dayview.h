// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"

#include <array>
#include <optional>

namespace kostwerk::core {

// The meal categories of a day, in the order the week page lists them.
enum class Category { MenuOne, ChoiceMeal, Stew, Vegetarian, Dinner };
inline constexpr std::size_t categoryCount = 5;

// What the window shows for one weekday: a heading and the meal categories.
struct DayView
{
    QString heading;
    std::array<QString, categoryCount> categories; // indexed by Category

    QString &operator[](Category category) { return categories.at(std::size_t(category)); }
    const QString &operator[](Category category) const { return categories.at(std::size_t(category)); }
    bool operator==(const DayView &) const = default;
};

// What the day view looks for in, and removes from, a section.
namespace DayViewText {

// The heading of each Category in its order, then the one that only ends
// the last category and is never shown.
inline constexpr std::array<QStringView, categoryCount + 1> categoryHeadings = {
    u"Menü I", u"Wahlessen", u"Eintopf", u"Menü II (veg.)", u"Abendessen", u"Frische Salate"};

// Removed in this order; the phrase is what remains of "Nur im <location>
// erhältlich" once the location is gone.
inline constexpr std::array<QStringView, 4> locationNames = {u"Nordhang", u"Brunnenstraße", u"Kronenhof",
                                                             u"Nur im  erhältlich"};

} // namespace DayViewText

// The heading a day view takes from a section: its first line after the line
// breaks it begins with.
QString headingOf(QStringView section);

// Whether a view leaves the location names out, as the window does, or keeps
// them, as the week overview does.
enum class Locations { Removed, Kept };

// The view of section n (1 = Montag ... 6 = Samstag); nothing when the week
// has no such section. Where the locations are kept, a line that holds a
// category's heading and location names, such as "Abendessen Brunnenstraße",
// counts as that heading's line, as it does once the names are removed.
std::optional<DayView> dayViewOf(const WeekPlan &weekPlan, qsizetype n, Locations locations = Locations::Removed);

// Whether any weekday of the week shows a category. A week page that comes
// in with none has most likely changed its shape.
bool showsAnyCategory(const WeekPlan &weekPlan);

} // namespace kostwerk::core
