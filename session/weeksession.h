// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekchanges.h"
#include "core/weekplanfetch.h"
#include "platform/filefailure.h"
#include "settings/settings.h"

#include <QDate>
#include <QDateTime>
#include <QObject>

#include <functional>

namespace kostwerk::session {

// What start-up found, for the window to put into words.
struct StartUpReport
{
    enum class Cache {
        Missing,    // no cache file: nothing to show yet
        Unreadable, // see cacheFailure
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
    // The program's folder was not found under its name; the folder used
    // instead, empty when it was found.
    QString folderUsedInstead;
    bool fetchNow = false;  // the settings ask to fetch at start, and no week of this week was read
    bool noSiteSet = false; // startURL is the built-in placeholder (settings::SettingsStore::hasPlaceholderStart)
};

// What a fetch brought: how it went, and how the week now shown differs from
// the one it replaced.
struct RefreshReport
{
    core::FetchReport fetch;
    core::WeekChanges changes;
    bool categoriesFound = true; // false when a week came in without any category
    // The week page failed at an address read against the placeholder basisURL.
    bool noBasisSet = false;
};

// How old the week shown is.
struct WeekAge
{
    QDateTime stand;       // when it was fetched; invalid while that is unknown
    bool outdated = false; // no longer this week's (core::Weekdays::isOutdated)
};

// The week behind the main window, without a widget: it holds the settings,
// the week, when the week was fetched and whether one is there to show. The
// start-up loads the settings and the cached week; a fetch downloads the
// start page and then the week page while the event loop goes on, keeps what
// came in in the cache file and compares it with the week before. Whatever
// changes is announced through signals. The clock comes in as an argument,
// so that start-up and refresh run alike in tests and in the program.
class WeekSession final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WeekSession)

public:
    using Clock = std::function<QDateTime()>;

    // Fetches through transfer, which no one else uses meanwhile.
    explicit WeekSession(
        platform::InternetTransfer &transfer, Clock clock = [] { return QDateTime::currentDateTime(); },
        QObject *parent = nullptr);
    ~WeekSession() override;

    // Reads the settings of programFolder, writing back defaults for missing
    // values; sets a cache name aside that could overwrite the settings or
    // programFile; reads the cached week if there is one, announcing it with
    // weekChanged(); and decides whether the week is to be fetched at once,
    // judged by the clock's today.
    StartUpReport start(const QString &programFolder, const QString &programFile);

    // Starts a fetch: fetchStarted(), a fetchStep() as each page is asked
    // for, then weekChanged() with whatever the fetch brought, a new week or
    // the previous one, and fetchFinished(). Nothing while a fetch runs.
    // While startURL is the built-in placeholder nothing is asked for:
    // fetchStarted() and fetchFinished() with FetchReport::NoSiteSet follow
    // at once, and the week stays as it is.
    void refresh();

    // Ends a running fetch at once, as a failed download: the week stays, and
    // fetchFinished() is emitted before abort returns.
    void abort();

    bool isFetching() const;

    // Puts settings in force and writes them to the settings file;
    // settingsChanged() tells whether they could be written. Values that
    // cannot be written stay in force for this run.
    void changeSettings(const settings::Settings &settings);

    const settings::Settings &settings() const { return m_settings; }
    const core::WeekPlan &week() const { return m_week; }
    // Set once a cache was read or a fetch ran; until then, no day is shown.
    bool dataLoaded() const { return m_dataLoaded; }
    // When the week shown was fetched; invalid while that is unknown.
    QDateTime stand() const { return m_stand; }
    // The stand, and whether the week is outdated, judged by the clock's today.
    WeekAge age() const;
    QDate today() const { return m_clock().date(); }

signals:
    void fetchStarted();
    void fetchStep(kostwerk::core::WeekPlanFetch::Step step);
    void weekChanged(const kostwerk::core::WeekPlan &week, const kostwerk::core::WeekChanges &changes);
    void fetchFinished(const kostwerk::session::RefreshReport &report);
    void settingsChanged(const kostwerk::platform::WriteResult &saved);

private:
    StartUpReport::Cache loadCachedWeek(StartUpReport &report);
    void fetched(core::FetchReport report);

    Clock m_clock;
    core::WeekPlanFetch m_fetch;
    settings::Settings m_settings;
    core::WeekPlan m_week;
    bool m_dataLoaded = false;
    QDateTime m_stand;
};

} // namespace kostwerk::session
