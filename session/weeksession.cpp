// SPDX-License-Identifier: GPL-3.0-or-later

#include "session/weeksession.h"

#include "core/cachefile.h"
#include "core/dayview.h"
#include "core/weekdays.h"
#include "session/logging.h"

#include <utility>

namespace kostwerk::session {

WeekSession::WeekSession(ProgramState &state, platform::InternetTransfer &transfer)
    : m_state(state)
    , m_transfer(transfer)
{
}

StartUpReport WeekSession::start(const QString &programFolder, const QString &programFile, QDate today)
{
    using settings::SettingsStore::defaultCacheFile;
    StartUpReport report;
    m_state.dataLoaded = false;
    settings::SettingsStore::Loaded loaded = settings::SettingsStore::load(programFolder);
    m_state.settings = std::move(loaded.settings);
    report.defaultsWritten = std::move(loaded.defaultsWritten);

    // A cache name that could overwrite another file is not used; the
    // settings file keeps it for the user to mend.
    report.storedCacheFile = m_state.settings.cacheFile;
    report.setAside = settings::SettingsStore::cacheFileProblem(m_state.settings, report.storedCacheFile, programFile);
    if (report.setAside.refused()) {
        qCWarning(lcSession) << "cacheFile" << report.storedCacheFile << "set aside:" << report.setAside.kind
                             << report.setAside.failure;
        m_state.settings.cacheFile = defaultCacheFile();
    }

    report.cache = loadCachedWeek(report);
    report.fetchNow = m_state.settings.autoFetch
                      && (report.cache != StartUpReport::Cache::Loaded || core::Weekdays::isOutdated(m_stand, today));
    return report;
}

StartUpReport::Cache WeekSession::loadCachedWeek(StartUpReport &report)
{
    core::LoadedCache cache = core::loadCache(m_state.settings.cacheLocation());
    if (cache.failure.kind == platform::FileFailure::Kind::Missing)
        return StartUpReport::Cache::Missing;

    m_state.dataLoaded = true;
    m_state.weekPlan = std::move(cache.weekPlan);
    if (!cache.ok()) {
        qCWarning(lcSession) << "cannot read the cache" << m_state.settings.cacheLocation().path() << ":"
                             << cache.failure;
        report.cacheFailure = cache.failure;
        return StartUpReport::Cache::Unreadable;
    }
    // A title alone is no week to show.
    if (m_state.weekPlan.size() < 2)
        return StartUpReport::Cache::NoWeek;
    m_stand = cache.written;
    return StartUpReport::Cache::Loaded;
}

RefreshReport WeekSession::refresh(const QDateTime &now)
{
    const settings::Settings &settings = m_state.settings;
    RefreshReport report;
    report.fetch = core::fetchWeekPlan({settings.startURL, settings.basisURL}, settings.cacheLocation(), m_transfer,
                                       m_state.weekPlan);
    // Only a week that came in is compared with the one it replaces.
    if (report.fetch.sectionsFound) {
        report.changes = core::compareWeeks(m_state.weekPlan, report.fetch.weekPlan);
        report.categoriesFound = core::showsAnyCategory(report.fetch.weekPlan);
        m_stand = now;
    }
    // Whatever the fetch brought, the weekday buttons now show from the week.
    m_state.dataLoaded = true;
    m_state.weekPlan = std::move(report.fetch.weekPlan);
    return report;
}

} // namespace kostwerk::session
