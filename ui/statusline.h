#pragma once

#include "core/weekplanfetch.h"

#include <QDate>
#include <QDateTime>
#include <QString>

// The German texts of the main window's status line.
namespace kostwerk::ui::StatusLine {

// For example "Stand: 08.12.2026, 14:30".
QString stand(const QDateTime &cacheWritten);

// True when the cache was written before this week's Monday.
bool isOutdated(const QDateTime &cacheWritten, QDate today);

// The "Stand", or the hint that the shown week is no longer current.
QString forCache(const QDateTime &cacheWritten, QDate today);

// What went wrong in a fetch, in plain German.
QString problem(const core::FetchReport &report);

QString cacheUnreadable();

QString cacheHoldsNoWeek();

// The settings file's cacheFile is set aside for defaultName.
QString cacheFileSetAside(const QString &defaultName);

QString settingsNotSaved();

} // namespace kostwerk::ui::StatusLine
