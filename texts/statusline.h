// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekchanges.h"
#include "core/weekplanfetch.h"
#include "platform/download.h"
#include "platform/filefailure.h"

#include <QDate>
#include <QDateTime>
#include <QString>

// The German texts of the main window's status line.
namespace kostwerk::texts::StatusLine {

// When a week was fetched, for example "08.12.2026, 14:30".
QString standTime(const QDateTime &cacheWritten);

// For example "Stand: 08.12.2026, 14:30".
QString stand(const QDateTime &cacheWritten);

// Told of a week fetched before this week's Monday.
QString outdated();

// Which page a running fetch is getting, for example "Startseite wird
// geholt …".
QString fetching(core::WeekPlanFetch::Step step);

// What changed since the last fetch, for example "Geändert seit dem letzten
// Abruf: Dienstag, Donnerstag"; empty when nothing was shown before.
QString whatChanged(const core::WeekChanges &changes);

// The categories of the day shown that the last fetch changed, given as
// indexes into core::DayViewText::categoryHeadings, for example "Geändert:
// Wahlessen, Eintopf"; empty when none did.
QString changedCategories(const QList<int> &categories);

// The "Stand", or the hint that the shown week is no longer current; after a
// fetch followed by what changed, for example
// "Stand: 09.12.2026, 14:30 – Keine Änderungen seit dem letzten Abruf".
QString forCache(const QDateTime &cacheWritten, bool isOutdated, const core::WeekChanges &changes = {});

// What went wrong in a fetch, in plain German; a failed download names the
// page, for example "Startseite: Der Server meldet einen Fehler (HTTP-Status
// 404)."
QString problem(const core::FetchReport &report);

// Causes, shown beside the status line (its tooltip) and by kostwerk-dump:
// why it went wrong, in German; the words of the system or of the server
// are quoted as they came, for example "Antwort des Servers: „Not Found“".
// Empty when there is nothing to add.
QString cause(const core::FetchReport &report);
QString cause(const platform::Download &download);
QString cause(const platform::FileFailure &failure);

// The start page is still the built-in placeholder: where to set the real one.
QString noSiteSet();
// The same for the basis of the week page's address.
QString noBasisSet();

QString cacheUnreadable();

QString cacheHoldsNoWeek();

// The settings file's cacheFile storedName is set aside for defaultName, or,
// when it is that name, cannot be used at all.
QString cacheFileSetAside(const QString &storedName, const QString &defaultName);

QString settingsNotSaved();

// The program's folder is not found under its name; folder is used instead.
QString programFolderNotFound(const QString &folder);
QString programFolderNotFoundCause();

// The printouts' note for a week with no day: what to do to get one.
QString noWeekToPrint();

// What a display shows in place of the lines it leaves out, for example
// "… (1.234 weitere Zeilen)"; core::shownLines adds it.
QString leftOutLines(qsizetype lines);

} // namespace kostwerk::texts::StatusLine
