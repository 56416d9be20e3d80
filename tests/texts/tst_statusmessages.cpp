// SPDX-License-Identifier: GPL-3.0-or-later

#include "texts/statusmessages.h"

#include <QTest>

using namespace kostwerk;
using namespace kostwerk::session;
using namespace kostwerk::texts;

namespace {

using Cache = StartUpReport::Cache;
using Problem = core::FetchReport::Problem;
using Kind = core::WeekChanges::Kind;

const WeekAge thisWeek{QDateTime(QDate(2026, 12, 8), QTime(9, 30)), false};
const WeekAge lastWeek{QDateTime(QDate(2026, 12, 4), QTime(9, 30)), true};
const QString noSiteSet =
    u"Noch keine Mensa-Adresse eingestellt – bitte unter Datei → Einstellungen die Startseite eintragen."_qs;

StartUpReport startUpAfter(Cache cache, settings::CacheFileProblem setAside = {})
{
    StartUpReport report;
    report.cache = cache;
    report.setAside = setAside;
    report.storedCacheFile = u"../cache.rfk"_qs;
    return report;
}

RefreshReport refreshWith(Problem problem, Kind kind = Kind::SameWeek, QList<int> changedDays = {})
{
    RefreshReport report;
    report.fetch.problem = problem;
    if (problem == Problem::StartPage) {
        report.fetch.startPage.error = platform::Download::Error::HttpStatus;
        report.fetch.startPage.httpStatus = 404;
    }
    report.changes = {kind, changedDays, {}};
    return report;
}

} // namespace

class TestStatusMessages final : public QObject
{
    Q_OBJECT

private slots:
    void startUp_data();
    void startUp();
    void refresh_data();
    void refresh();
};

void TestStatusMessages::startUp_data()
{
    QTest::addColumn<StartUpReport>("report");
    QTest::addColumn<WeekAge>("age");
    QTest::addColumn<QString>("text");
    QTest::newRow("first start") << startUpAfter(Cache::Missing) << WeekAge()
                                 << u"Noch kein Wochenplan – „Daten aktualisieren“ (F5) holt ihn."_qs;
    StartUpReport noSite = startUpAfter(Cache::Missing);
    noSite.noSiteSet = true;
    QTest::newRow("first start, the placeholder address") << noSite << WeekAge() << noSiteSet;
    QTest::newRow("this week") << startUpAfter(Cache::Loaded) << thisWeek << u"Stand: 08.12.2026, 09:30"_qs;
    QTest::newRow("last week")
        << startUpAfter(Cache::Loaded) << lastWeek
        << u"Wochenplan ist nicht mehr aktuell – bitte Daten holen (Stand: 04.12.2026, 09:30)"_qs;
    QTest::newRow("no week in the cache")
        << startUpAfter(Cache::NoWeek) << WeekAge() << u"Die Cache-Datei enthält keinen Wochenplan."_qs;
    QTest::newRow("cache name set aside, before the week")
        << startUpAfter(Cache::Loaded,
                        {settings::CacheFileProblem::Kind::OutOfFolder, {platform::FileFailure::Kind::ParentStep, {}}})
        << thisWeek << u"Cachefile aus refekt.ini nicht verwendet, es gilt „cache.rfk“ – Stand: 08.12.2026, 09:30"_qs;
    StartUpReport notWritten = startUpAfter(Cache::Loaded);
    notWritten.defaultsWritten.failure = {kostwerk::platform::FileFailure::Kind::System, u"Permission denied"_qs};
    QTest::newRow("defaults not written back")
        << notWritten << thisWeek
        << u"Einstellungen nicht gespeichert – sie gelten nur bis zum Programmende – Stand: 08.12.2026, 09:30"_qs;
}

void TestStatusMessages::startUp()
{
    QFETCH(StartUpReport, report);
    QFETCH(WeekAge, age);
    QFETCH(QString, text);
    QCOMPARE(startUpMessage(report, age).text, text);
}

void TestStatusMessages::refresh_data()
{
    QTest::addColumn<RefreshReport>("report");
    QTest::addColumn<WeekAge>("age");
    QTest::addColumn<QString>("text");
    const QString stand = u"Stand: 08.12.2026, 09:30 – "_qs;
    QTest::newRow("nothing changed") << refreshWith(Problem::None) << thisWeek
                                     << stand + u"Keine Änderungen seit dem letzten Abruf";
    QTest::newRow("new week") << refreshWith(Problem::None, Kind::NewWeek) << thisWeek << stand + u"Neuer Wochenplan";
    QTest::newRow("days changed") << refreshWith(Problem::None, Kind::SameWeek, {1, 3}) << thisWeek
                                  << stand + u"Geändert seit dem letzten Abruf: Dienstag, Donnerstag";
    RefreshReport noCategory = refreshWith(Problem::None, Kind::NewWeek);
    noCategory.categoriesFound = false;
    QTest::newRow("a week without categories") << noCategory << thisWeek
                                               << stand
                                                      + u"Neuer Wochenplan – Im Wochenplan wurde keine Speisekategorie "
                                                        u"gefunden – hat sich die Seite geändert?";
    QTest::newRow("failure, a week of this week shown")
        << refreshWith(Problem::StartPage) << thisWeek
        << u"Startseite: Der Server meldet einen Fehler (HTTP-Status 404) – angezeigt: Stand 08.12.2026, 09:30"_qs;
    QTest::newRow("failure, an outdated week shown")
        << refreshWith(Problem::StartPage) << lastWeek
        << u"Startseite: Der Server meldet einen Fehler (HTTP-Status 404) – angezeigt: Stand 04.12.2026, 09:30 – "
           u"Wochenplan ist nicht mehr aktuell"_qs;
    QTest::newRow("failure, no week shown") << refreshWith(Problem::StartPage) << WeekAge()
                                            << u"Startseite: Der Server meldet einen Fehler (HTTP-Status 404)."_qs;
    QTest::newRow("the placeholder address") << refreshWith(Problem::NoSiteSet) << WeekAge() << noSiteSet;
    RefreshReport noBasis = refreshWith(Problem::WeekPage);
    noBasis.noBasisSet = true;
    QTest::newRow("the placeholder basis, a week shown")
        << noBasis << thisWeek
        << u"Noch keine BasisURL eingestellt – bitte unter Datei → Einstellungen eintragen, wo die Wochenplan-Seiten "
           u"liegen – angezeigt: Stand 08.12.2026, 09:30"_qs;
}

void TestStatusMessages::refresh()
{
    QFETCH(RefreshReport, report);
    QFETCH(WeekAge, age);
    QFETCH(QString, text);
    QCOMPARE(refreshMessage(report, age).text, text);
}

QTEST_GUILESS_MAIN(TestStatusMessages)
#include "tst_statusmessages.moc"
