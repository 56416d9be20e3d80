#include "ui/statusline.h"

#include "core/weekdays.h"
#include "ui/germandates.h"

namespace kostwerk::ui {

namespace StatusLine {

QString stand(const QDateTime &cacheWritten)
{
    return u"Stand: " + cacheWritten.toString(u"dd.MM.yyyy, hh:mm");
}

QString whatChanged(const core::WeekChanges &changes)
{
    using Kind = core::WeekChanges::Kind;
    switch (changes.kind) {
    case Kind::NoEarlierWeek:
        return QString();
    case Kind::NewWeek:
        return QStringLiteral("Neuer Wochenplan");
    case Kind::SameWeek:
        break;
    }
    if (changes.changedDays.isEmpty())
        return QStringLiteral("Keine Änderungen seit dem letzten Abruf");
    QStringList days;
    for (int day : changes.changedDays)
        days.append(GermanDates::weekdayNameAt(day));
    return u"Geändert seit dem letzten Abruf: " + days.join(u", ");
}

QString forCache(const QDateTime &cacheWritten, QDate today, const core::WeekChanges &changes)
{
    QString text = stand(cacheWritten);
    if (core::Weekdays::isOutdated(cacheWritten, today))
        text = u"Wochenplan ist nicht mehr aktuell – bitte Daten holen (" + text + u')';
    const QString changed = whatChanged(changes);
    return changed.isEmpty() ? text : text + u" – " + changed;
}

QString problem(const core::FetchReport &report)
{
    using Problem = core::FetchReport::Problem;
    switch (report.problem) {
    case Problem::None:
        return QString();
    case Problem::NoConnection:
        return QStringLiteral("Keine Verbindung: Der Server ist nicht erreichbar oder wurde nicht gefunden.");
    case Problem::TimedOut:
        return QStringLiteral("Zeitüberschreitung: Der Server hat nicht rechtzeitig geantwortet.");
    case Problem::HttpStatus:
        // A redirect without a target or a "not modified" is no error, but no page either.
        if (report.httpStatus < 400)
            return QStringLiteral("Der Server hat keine Seite geliefert (HTTP-Status %1).").arg(report.httpStatus);
        return QStringLiteral("Der Server meldet einen Fehler (HTTP-Status %1).").arg(report.httpStatus);
    case Problem::PageTooLarge:
        return QStringLiteral("Die Seite ist zu groß und wurde nicht geladen.");
    case Problem::DownloadFailed:
        return QStringLiteral("Der Download ist fehlgeschlagen.");
    case Problem::NoWeekLink:
        return QStringLiteral("Auf der Startseite wurde kein Link zum Wochenplan gefunden.");
    case Problem::NoDaySections:
        return QStringLiteral("Die Wochenseite enthält keine Tagesabschnitte.");
    case Problem::CacheNotWritten:
        return QStringLiteral("Der Wochenplan konnte nicht in der Cache-Datei gespeichert werden.");
    }
    return QString();
}

QString cacheUnreadable()
{
    return QStringLiteral("Die Cache-Datei konnte nicht gelesen werden.");
}

QString cacheHoldsNoWeek()
{
    return QStringLiteral("Die Cache-Datei enthält keinen Wochenplan.");
}

QString cacheFileSetAside(const QString &defaultName)
{
    return u"Cachefile aus refekt.ini nicht verwendet, es gilt „" + defaultName + u"“.";
}

QString settingsNotSaved()
{
    return QStringLiteral("Einstellungen nicht gespeichert – sie gelten nur bis zum Programmende.");
}

} // namespace StatusLine

} // namespace kostwerk::ui
