#pragma once

#include "ui/weeksession.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace kostwerk::ui {

// A message of the status line: what it says, and the cause behind it in the
// system's own words.
struct StatusMessage
{
    QString text;
    QString cause;

    bool operator==(const StatusMessage &) const = default;
};

// What the status line says after start-up, stand being when the week shown
// was fetched.
StatusMessage startUpMessage(const StartUpReport &report, const QDateTime &stand, QDate today);

// What the status line says after a fetch.
StatusMessage refreshMessage(const RefreshReport &report, const QDateTime &stand, QDate today);

} // namespace kostwerk::ui
