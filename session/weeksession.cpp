// SPDX-License-Identifier: GPL-3.0-or-later

#include "session/weeksession.h"

#include "core/cachefile.h"
#include "core/dayview.h"
#include "core/weekdays.h"
#include "platform/atomicfile.h"
#include "session/logging.h"

#include <QFileInfo>

#include <utility>

namespace kostwerk::session {

WeekSession::WeekSession(platform::InternetTransfer &transfer, Clock clock, QObject *parent)
    : QObject(parent)
    , m_clock(std::move(clock))
    , m_fetch(transfer)
{
    connect(&m_fetch, &core::WeekPlanFetch::stepStarted, this, &WeekSession::fetchStep);
    connect(&m_fetch, &core::WeekPlanFetch::finished, this, &WeekSession::fetched);
}

WeekSession::~WeekSession() = default;

StartUpReport WeekSession::start(const QString &programFolder, const QString &programFile)
{
    using settings::SettingsStore::defaultCacheFile;
    StartUpReport report;
    m_dataLoaded = false;
    m_week.clear();
    m_stand = QDateTime();
    settings::SettingsStore::Loaded loaded = settings::SettingsStore::load(programFolder);
    m_settings = std::move(loaded.settings);
    report.defaultsWritten = std::move(loaded.defaultsWritten);
    if (loaded.programFolderNotFound)
        report.folderUsedInstead = QFileInfo(m_settings.iniPath).path();

    // A cache name that could overwrite another file is not used; the
    // settings file keeps it for the user to mend.
    report.storedCacheFile = m_settings.cacheFile;
    report.setAside = settings::SettingsStore::cacheFileProblem(m_settings, report.storedCacheFile, programFile);
    if (report.setAside.refused()) {
        qCWarning(lcSession) << "cacheFile" << report.storedCacheFile << "set aside:" << report.setAside.kind
                             << report.setAside.failure;
        m_settings.cacheFile = defaultCacheFile();
    }

    // What a write killed before its end left behind goes.
    platform::removeLeftovers(platform::PathBelow::inFolderOf(m_settings.iniPath));
    platform::removeLeftovers(m_settings.cacheLocation());
    report.cache = loadCachedWeek(report);
    report.noSiteSet = settings::SettingsStore::hasPlaceholderStart(m_settings);
    report.fetchNow = m_settings.autoFetch && (report.cache != StartUpReport::Cache::Loaded || age().outdated);
    if (m_dataLoaded)
        emit weekChanged(m_week, {});
    return report;
}

StartUpReport::Cache WeekSession::loadCachedWeek(StartUpReport &report)
{
    core::LoadedCache cache = core::loadCache(m_settings.cacheLocation());
    if (cache.failure.kind == platform::FileFailure::Kind::Missing)
        return StartUpReport::Cache::Missing;

    m_dataLoaded = true;
    m_week = std::move(cache.weekPlan);
    if (!cache.ok()) {
        qCWarning(lcSession) << "cannot read the cache" << m_settings.cacheLocation().path() << ":" << cache.failure;
        report.cacheFailure = cache.failure;
        return StartUpReport::Cache::Unreadable;
    }
    // A title alone is no week to show.
    if (m_week.size() < 2)
        return StartUpReport::Cache::NoWeek;
    m_stand = cache.written;
    return StartUpReport::Cache::Loaded;
}

void WeekSession::refresh()
{
    if (isFetching())
        return;
    emit fetchStarted();
    // The placeholder's host resolves nowhere; asking it would only end in
    // "no connection", where the user needs to hear what to set.
    if (settings::SettingsStore::hasPlaceholderStart(m_settings)) {
        RefreshReport report;
        report.fetch.weekPlan = m_week;
        report.fetch.problem = core::FetchReport::Problem::NoSiteSet;
        emit fetchFinished(report);
        return;
    }
    m_fetch.start({m_settings.startURL, m_settings.basisURL}, m_week);
}

void WeekSession::abort()
{
    m_fetch.abort();
}

WeekAge WeekSession::age() const
{
    return {m_stand, m_stand.isValid() && core::Weekdays::isOutdated(m_week, m_stand, today())};
}

bool WeekSession::isFetching() const
{
    return m_fetch.isRunning();
}

void WeekSession::changeSettings(const settings::Settings &settings)
{
    m_settings = settings;
    const platform::WriteResult saved = settings::SettingsStore::save(m_settings);
    if (!saved)
        qCWarning(lcSession) << "cannot save the settings to" << m_settings.iniPath << ":" << saved.failure;
    emit settingsChanged(saved);
}

void WeekSession::fetched(core::FetchReport fetch)
{
    RefreshReport report;
    // Only a week that came in is kept, and compared with the one it
    // replaces. Writing a kept week again would only add an empty line in
    // front of every section, since sections read from the cache begin with
    // one.
    if (fetch.sectionsFound) {
        const platform::WriteResult written = core::writeCache(m_settings.cacheLocation(), fetch.weekPlan);
        if (!written) {
            qCWarning(lcSession) << "cannot write" << m_settings.cacheLocation().path() << ":" << written.failure;
            fetch.problem = core::FetchReport::Problem::CacheNotWritten;
            fetch.cacheFailure = written.failure;
            fetch.cacheName = m_settings.cacheFile;
        }
        m_stand = m_clock();
        report.changes = core::compareWeeks(m_week, fetch.weekPlan, m_stand.date());
        report.categoriesFound = core::showsAnyCategory(fetch.weekPlan);
    }
    const platform::Download *failed = fetch.failedDownload();
    report.noBasisSet = fetch.problem == core::FetchReport::Problem::WeekPage
                        && settings::SettingsStore::hasPlaceholderBasis(m_settings) && failed
                        && failed->url.startsWith(m_settings.basisURL);
    // Whatever the fetch brought, the weekday buttons now show from the week.
    m_dataLoaded = true;
    m_week = fetch.weekPlan;
    report.fetch = std::move(fetch);
    emit weekChanged(m_week, report.changes);
    emit fetchFinished(report);
}

} // namespace kostwerk::session
