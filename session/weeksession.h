// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekchanges.h"
#include "core/weekplanfetch.h"
#include "platform/filefailure.h"
#include "session/programstate.h"
#include "settings/settings.h"

#include <QDate>
#include <QDateTime>

namespace kostwerk::platform {
class InternetTransfer;
}

namespace kostwerk::session {

// What start-up found, for the window to put into words.
struct StartUpReport
{
    enum class Cache {
        Missing,    // no cache file: nothing to show yet
        Unreadable, // see error
        NoWeek,     // a cache file without a weekday
        Loaded,
    };

    Cache cache = Cache::Missing;
    platform::FileFailure cacheFailure; // why the cache could not be read

    // A cacheFile from the settings file that could overwrite another file
    // is set aside for the run in favour of the default: why, and the name
    // the settings file holds.
    settings::CacheFileProblem setAside;
    QString storedCacheFile;

    platform::WriteResult defaultsWritten;
    bool fetchNow = false; // the settings ask to fetch at start, and no week of this week was read
};

// What a fetch brought: how it went, and how the week now shown differs from
// the one it replaced.
struct RefreshReport
{
    core::FetchReport fetch; // its weekPlan has gone to the program's state
    core::WeekChanges changes;
    bool categoriesFound = true; // false when a week came in without any category
};

// The week behind the main window, without a widget: the start-up that loads
// the settings and the cached week, and the fetch that replaces the week and
// compares it with the one before. It works on the program's state and
// returns plain reports; the date and the time come in as arguments, so that
// start-up and refresh run alike in tests and in the program.
class WeekSession final
{
public:
    WeekSession(ProgramState &state, platform::InternetTransfer &transfer);
    Q_DISABLE_COPY_MOVE(WeekSession)

    // Reads the settings of programFolder, writing back defaults for missing
    // values; sets a cache name aside that could overwrite the settings or
    // programFile; reads the cached week if there is one; and decides
    // whether the week is to be fetched at once, judged by today.
    StartUpReport start(const QString &programFolder, const QString &programFile, QDate today);

    // Fetches the week and makes what came in the program's week, whatever
    // it was: a new week, or the previous one when none came in. now is when
    // a new week was fetched.
    RefreshReport refresh(const QDateTime &now);

    // When the week shown was fetched; invalid while that is unknown.
    QDateTime stand() const { return m_stand; }

private:
    StartUpReport::Cache loadCachedWeek(StartUpReport &report);

    ProgramState &m_state;
    platform::InternetTransfer &m_transfer;
    QDateTime m_stand;
};

} // namespace kostwerk::session
