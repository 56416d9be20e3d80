// SPDX-License-Identifier: GPL-3.0-or-later

#include "texts/statusmessages.h"

#include "texts/captions.h"
#include "texts/settingsrefusals.h"
#include "texts/statusline.h"

namespace kostwerk::texts {

namespace {

// Sentences that follow one another after a dash; a full stop would end the
// line too early.
QString joined(QStringList parts)
{
    parts.removeAll(QString());
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        if (parts[i].endsWith(u'.'))
            parts[i].chop(1);
    }
    return parts.join(u" – ");
}

// The week still shown after something went wrong, for example
// "angezeigt: Stand 07.12.2026, 09:30".
QString stillShown(const session::WeekAge &age)
{
    if (!age.stand.isValid())
        return QString();
    const QString shown = u"angezeigt: Stand " + StatusLine::standTime(age.stand);
    return age.outdated ? shown + u" – " + StatusLine::outdated() : shown;
}

QString firstStart()
{
    return u"Noch kein Wochenplan – „" + Captions::refreshFirst + u"“ (F5) holt ihn.";
}

} // namespace

StatusMessage startUpMessage(const session::StartUpReport &report, const session::WeekAge &age)
{
    QStringList notices;
    QString cause;
    if (!report.folderUsedInstead.isEmpty()) {
        notices.append(StatusLine::programFolderNotFound(report.folderUsedInstead));
        cause = StatusLine::programFolderNotFoundCause();
    }
    if (report.setAside.refused()) {
        notices.append(
            StatusLine::cacheFileSetAside(report.storedCacheFile, settings::SettingsStore::defaultCacheFile()));
        cause = cause.isEmpty()
                    ? SettingsRefusals::cacheFile(report.setAside) + u" (cacheFile=" + report.storedCacheFile + u')'
                    : cause;
    }
    if (!report.defaultsWritten.ok()) {
        notices.append(StatusLine::settingsNotSaved());
        cause = cause.isEmpty() ? StatusLine::cause(report.defaultsWritten.failure) : cause;
    }

    using Cache = session::StartUpReport::Cache;
    switch (report.cache) {
    case Cache::Missing:
        notices.append(report.noSiteSet ? StatusLine::noSiteSet() : firstStart());
        break;
    case Cache::Unreadable:
        notices.append(StatusLine::cacheUnreadable());
        cause = cause.isEmpty() ? StatusLine::cause(report.cacheFailure) : cause;
        break;
    case Cache::NoWeek:
        notices.append(StatusLine::cacheHoldsNoWeek());
        break;
    case Cache::Loaded:
        notices.append(StatusLine::forCache(age.stand, age.outdated));
        break;
    }
    return {joined(notices), cause};
}

StatusMessage refreshMessage(const session::RefreshReport &report, const session::WeekAge &age)
{
    if (!report.fetch.ok()) {
        // What to set says more than the failure it led to, which the cause keeps.
        const QString problem = report.noBasisSet ? StatusLine::noBasisSet() : StatusLine::problem(report.fetch);
        return {joined({problem, stillShown(age)}), StatusLine::cause(report.fetch)};
    }
    QStringList parts{StatusLine::forCache(age.stand, age.outdated, report.changes)};
    if (!report.categoriesFound)
        parts.append(
            QStringLiteral("Im Wochenplan wurde keine Speisekategorie gefunden – hat sich die Seite geändert?"));
    return {joined(parts), {}};
}

StatusMessage withChangedCategories(const StatusMessage &message, const QList<int> &categories)
{
    return {joined({message.text, StatusLine::changedCategories(categories)}), message.cause};
}

StatusMessage settingsNotSavedMessage(const QString &cause, const session::WeekAge &age)
{
    return {joined({StatusLine::settingsNotSaved(),
                    age.stand.isValid() ? StatusLine::forCache(age.stand, age.outdated) : QString()}),
            cause};
}

StatusMessage siteSetMessage(const session::WeekAge &age)
{
    return {age.stand.isValid() ? StatusLine::forCache(age.stand, age.outdated) : firstStart(), {}};
}

} // namespace kostwerk::texts
