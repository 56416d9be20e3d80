#pragma once

#include "core/weekchanges.h"
#include "core/weekplanfetch.h"

#include <QDate>
#include <QDateTime>
#include <QString>

// The German texts of the main window's status line.
namespace kostwerk::ui::StatusLine {

// For example "Stand: 08.12.2026, 14:30".
QString stand(const QDateTime &cacheWritten);

// What changed since the last fetch, for example "Geändert seit dem letzten
// Abruf: Dienstag, Donnerstag"; empty when nothing was shown before.
QString whatChanged(const core::WeekChanges &changes);

// The "Stand", or the hint that the shown week is no longer current; after a
// fetch followed by what changed, for example
// "Stand: 09.12.2026, 14:30 – Keine Änderungen seit dem letzten Abruf".
QString forCache(const QDateTime &cacheWritten, QDate today, const core::WeekChanges &changes = {});

// What went wrong in a fetch, in plain German.
QString problem(const core::FetchReport &report);

QString cacheUnreadable();

QString cacheHoldsNoWeek();

// The settings file's cacheFile is set aside for defaultName.
QString cacheFileSetAside(const QString &defaultName);

QString settingsNotSaved();

} // namespace kostwerk::ui::StatusLine
