// SPDX-License-Identifier: GPL-3.0-or-later

#include "texts/statusline.h"

#include "core/dayview.h"
#include "core/shownlines.h"
#include "platform/internettransfer.h"
#include "texts/captions.h"
#include "texts/germandates.h"

#include <QLocale>

namespace kostwerk::texts {

namespace StatusLine {

namespace {

QString quoted(const QString &text)
{
    return u"„" + text + u"“";
}

QString systemSays(const QString &text)
{
    return text.isEmpty() ? QString() : u"Meldung des Systems: " + quoted(text);
}

QString downloadCause(platform::Download::Error error, const QString &reason)
{
    using Error = platform::Download::Error;
    switch (error) {
    case Error::None:
        return QString();
    case Error::NotHttp:
        return QStringLiteral("Die Adresse beginnt weder mit http:// noch mit https://.");
    case Error::HttpStatus:
        return reason.isEmpty() ? QString() : u"Antwort des Servers: " + quoted(reason);
    case Error::TimedOut:
        // Qt's own time-out comes with its words; ours with none.
        if (reason.isEmpty())
            return QStringLiteral("Die Seite war nach Ablauf der Wartezeit nicht vollständig angekommen.");
        break;
    case Error::TooLarge:
        return QStringLiteral("Die Seite ist größer als %1 MiB.")
            .arg(platform::InternetTransfer::maxPageSize / (1024 * 1024));
    case Error::Busy:
        return QStringLiteral("Ein anderer Abruf lief noch.");
    case Error::Interrupted:
        return QStringLiteral("Der Abruf wurde abgebrochen, weil das Fenster geschlossen wurde.");
    case Error::NoConnection:
    case Error::BrokenOff:
    case Error::Failed:
        break;
    }
    return systemSays(reason);
}

// What went wrong in a download, in plain German.
QString downloadProblem(const platform::Download &download)
{
    using Error = platform::Download::Error;
    switch (download.error) {
    case Error::None:
        return QString();
    case Error::NotHttp:
        return QStringLiteral("Nur http- und https-Adressen werden abgerufen.");
    case Error::NoConnection:
        return QStringLiteral("Keine Verbindung: Der Server ist nicht erreichbar oder wurde nicht gefunden.");
    case Error::TimedOut:
        return QStringLiteral("Zeitüberschreitung: Der Server hat nicht rechtzeitig geantwortet.");
    case Error::HttpStatus:
        // A redirect without a target or a "not modified" is no error, but no page either.
        if (download.httpStatus < 400)
            return QStringLiteral("Der Server hat keine Seite geliefert (HTTP-Status %1).").arg(download.httpStatus);
        return QStringLiteral("Der Server meldet einen Fehler (HTTP-Status %1).").arg(download.httpStatus);
    case Error::TooLarge:
        return QStringLiteral("Die Seite ist zu groß und wurde nicht geladen.");
    case Error::BrokenOff:
        return QStringLiteral("Die Übertragung ist abgebrochen: Die Seite kam nicht vollständig an.");
    case Error::Busy:
    case Error::Interrupted:
    case Error::Failed:
        break;
    }
    return QStringLiteral("Der Download ist fehlgeschlagen.");
}

QString cacheNotWritten(const core::FetchReport &report)
{
    using Kind = platform::FileFailure::Kind;
    switch (report.cacheFailure.kind) {
    case Kind::ForeignFile:
        return quoted(report.cacheName)
               + u" ist keine Cache-Datei und wird nicht überschrieben – bitte umbenennen oder löschen.";
    case Kind::Link:
        return quoted(report.cacheName)
               + u" ist ein symbolischer Link oder liegt in einem verlinkten Ordner – dort wird nichts gespeichert.";
    default:
        return QStringLiteral("Der Wochenplan konnte nicht in der Cache-Datei gespeichert werden.");
    }
}

} // namespace

QString standTime(const QDateTime &cacheWritten)
{
    return cacheWritten.toString(u"dd.MM.yyyy, hh:mm");
}

QString stand(const QDateTime &cacheWritten)
{
    return u"Stand: " + standTime(cacheWritten);
}

QString outdated()
{
    return QStringLiteral("Wochenplan ist nicht mehr aktuell");
}

QString fetching(core::WeekPlanFetch::Step step)
{
    switch (step) {
    case core::WeekPlanFetch::Step::StartPage:
        return QStringLiteral("Startseite wird geholt …");
    case core::WeekPlanFetch::Step::WeekPage:
        break;
    }
    return QStringLiteral("Wochenplan wird geholt …");
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

QString changedCategories(const QList<int> &categories)
{
    if (categories.isEmpty())
        return QString();
    QStringList names;
    for (int category : categories)
        names.append(core::DayViewText::categoryHeadings.at(category).toString());
    return u"Geändert: " + names.join(u", ");
}

QString forCache(const QDateTime &cacheWritten, bool isOutdated, const core::WeekChanges &changes)
{
    QString text = stand(cacheWritten);
    if (isOutdated)
        text = outdated() + u" – bitte " + Captions::refreshAgain + u" (" + text + u')';
    const QString changed = whatChanged(changes);
    return changed.isEmpty() ? text : text + u" – " + changed;
}

QString problem(const core::FetchReport &report)
{
    using Problem = core::FetchReport::Problem;
    switch (report.problem) {
    case Problem::None:
        return QString();
    case Problem::StartPage:
        return u"Startseite: " + downloadProblem(*report.failedDownload());
    case Problem::WeekPage:
        return u"Wochenplan: " + downloadProblem(*report.failedDownload());
    case Problem::NoWeekLink:
        return QStringLiteral("Auf der Startseite wurde kein Link zum Wochenplan gefunden.");
    case Problem::NoDaySections:
        return QStringLiteral("Die Wochenseite enthält keine Tagesabschnitte.");
    case Problem::CacheNotWritten:
        return cacheNotWritten(report);
    case Problem::NoSiteSet:
        return noSiteSet();
    }
    return QString();
}

QString cause(const core::FetchReport &report)
{
    if (report.problem == core::FetchReport::Problem::CacheNotWritten)
        return cause(report.cacheFailure);
    const platform::Download *failed = report.failedDownload();
    return failed ? cause(*failed) : QString();
}

QString cause(const platform::Download &download)
{
    return downloadCause(download.error, download.reason);
}

QString cause(const platform::FileFailure &failure)
{
    using Kind = platform::FileFailure::Kind;
    switch (failure.kind) {
    case Kind::None:
        return QString();
    case Kind::NotRegularFile:
        return QStringLiteral("Keine gewöhnliche Datei, sondern ein Ordner, eine FIFO, ein Gerät oder ein Socket.");
    case Kind::TooLarge:
        return QStringLiteral("Die Datei ist zu groß.");
    case Kind::Link:
        return QStringLiteral("Der Name ist ein symbolischer Link oder führt durch einen verlinkten Ordner; "
                              "durch Links wird weder gelesen noch geschrieben.");
    case Kind::ParentStep:
        return QStringLiteral("Der Name führt mit „..“ aus seinem Ordner hinaus.");
    case Kind::LineBreak:
        return QStringLiteral("Ein Wert darf keinen Zeilenumbruch enthalten.");
    case Kind::Unencodable:
        return QStringLiteral("Ein Wert enthält ein Zeichen, das die Datei in ihrer Kodierung nicht speichern kann.");
    case Kind::ForeignFile:
        return QStringLiteral("Unter dem Namen liegt eine Datei anderer Art; sie bleibt, wie sie ist.");
    case Kind::Missing:
    case Kind::System:
        break;
    }
    return systemSays(failure.systemText);
}

QString noSiteSet()
{
    return QStringLiteral("Noch keine Mensa-Adresse eingestellt – bitte unter Datei → Einstellungen die Startseite "
                          "eintragen.");
}

QString noBasisSet()
{
    return QStringLiteral("Noch keine BasisURL eingestellt – bitte unter Datei → Einstellungen eintragen, wo die "
                          "Wochenplan-Seiten liegen.");
}

QString cacheUnreadable()
{
    return QStringLiteral("Die Cache-Datei konnte nicht gelesen werden.");
}

QString cacheHoldsNoWeek()
{
    return QStringLiteral("Die Cache-Datei enthält keinen Wochenplan.");
}

QString cacheFileSetAside(const QString &storedName, const QString &defaultName)
{
    if (storedName == defaultName)
        return u"Cachefile " + quoted(defaultName)
               + u" nicht verwendbar – der Wochenplan wird weder gelesen noch gespeichert.";
    return u"Cachefile aus refekt.ini nicht verwendet, es gilt " + quoted(defaultName) + u'.';
}

QString settingsNotSaved()
{
    return QStringLiteral("Einstellungen nicht gespeichert – sie gelten nur bis zum Programmende.");
}

QString programFolderNotFound(const QString &folder)
{
    return u"Programmordner nicht auffindbar – Einstellungen und Wochenplan liegen in " + quoted(folder) + u'.';
}

QString programFolderNotFoundCause()
{
    return QStringLiteral("Unter dem Namen, den das System für den Ordner des Programms nennt, liegt kein Ordner, "
                          "meist weil der Name in der Kodierung der Dateinamen (UTF-8) nicht gültig ist.");
}

QString noWeekToPrint()
{
    return u"Kein Wochenplan vorhanden – bitte zuerst " + Captions::refreshAgain + u'.';
}

QString leftOutLines(qsizetype lines)
{
    return core::ellipsis + u" (" + QLocale(QLocale::German).toString(lines)
           + (lines == 1 ? u" weitere Zeile)" : u" weitere Zeilen)");
}

} // namespace StatusLine

} // namespace kostwerk::texts
