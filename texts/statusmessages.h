// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "session/weeksession.h"

#include <QString>

namespace kostwerk::texts {

// A message of the status line: what it says, and the cause behind it in the
// system's own words.
struct StatusMessage
{
    QString text;
    QString cause;

    bool operator==(const StatusMessage &) const = default;
};

// Whenever a week is shown, the status line tells its age.

// What the status line says after start-up: what was set aside or could not
// be kept, then the week's age, or what to do without a week.
StatusMessage startUpMessage(const session::StartUpReport &report, const session::WeekAge &age);

// What the status line says after a fetch: the week's age and what changed,
// or what failed and the age of the week still shown.
StatusMessage refreshMessage(const session::RefreshReport &report, const session::WeekAge &age);

// message, followed by the categories of the day shown that the last fetch
// changed (indexes into core::DayViewText::categoryHeadings).
StatusMessage withChangedCategories(const StatusMessage &message, const QList<int> &categories);

// Confirmed settings that could not be saved, and the week's age.
StatusMessage settingsNotSavedMessage(const QString &cause, const session::WeekAge &age);

// Once the canteen's address is set: the week's age, or how to fetch one.
StatusMessage siteSetMessage(const session::WeekAge &age);

} // namespace kostwerk::texts
