#include "ui/statusmessages.h"

#include "ui/settingsrefusals.h"
#include "ui/statusline.h"

namespace kostwerk::ui {

StatusMessage startUpMessage(const StartUpReport &report, const QDateTime &stand, QDate today)
{
    // A cache name set aside says so before anything about the week.
    if (report.setAside != settings::CacheFileProblem::None)
        return {StatusLine::cacheFileSetAside(settings::SettingsStore::defaultCacheFile()),
                SettingsRefusals::cacheFile(report.setAside) + u" (cacheFile=" + report.storedCacheFile + u')'};
    using Cache = StartUpReport::Cache;
    switch (report.cache) {
    case Cache::Missing:
        break;
    case Cache::Unreadable:
        return {StatusLine::cacheUnreadable(), report.cacheError};
    case Cache::NoWeek:
        return {StatusLine::cacheHoldsNoWeek(), {}};
    case Cache::Loaded:
        return {StatusLine::forCache(stand, today), {}};
    }
    return {};
}

StatusMessage refreshMessage(const RefreshReport &report, const QDateTime &stand, QDate today)
{
    if (!report.fetch.ok())
        return {StatusLine::problem(report.fetch), report.fetch.cause};
    return {StatusLine::forCache(stand, today, report.changes), {}};
}

} // namespace kostwerk::ui
