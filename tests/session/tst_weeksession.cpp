// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/cachefile.h"
#include "core/weekplanfetch.h"
#include "platform/internettransfer.h"
#include "tests/common/filesizelimit.h"
#include "tests/common/testhttpserver.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kostwerk::platform;
using namespace kostwerk::core;

namespace {

const QByteArray startPage = QByteArrayLiteral(
    "<html><body><a href=\"index.html\">Start</a> <A HREF=\"t2026kw50.html\">Vom 07.12. bis 12.12.</A></body></html>");
const QByteArray weekPage = QByteArrayLiteral(
    "<h2>Speiseplan</h2>\r\n<h2>Montag</h2><BR>Men\xfc I<BR>Schnitzel, Pommes<BR>"
    "<h2>Dienstag</h2><BR>Eintopf<BR>Linsen<hr>");
const QByteArray oldCache = QByteArrayLiteral(
    "<neuer abschnitt>\r\nAlte Woche\r\n<neuer abschnitt>\r\nMontag\r\nReis\r\n");

} // namespace

class TestWeekPlanFetch final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void fetch_followsWeekLink_andWritesCache();
    void fetch_failure_keepsWeekAndCache_data();
    void fetch_failure_keepsWeekAndCache();
    void fetch_withoutWeekLink_asksForBasisUrl();
    void fetch_utf8Page_findsUmlautHeadings();
    void fetch_firstRunWithoutSections_writesNoCache();
    void fetch_cacheNotWritten_keepsNewWeekInMemory();

private:
    QByteArray cacheBytes() const;
    void writeOldCache();
    FetchReport fetch() { return fetchWeekPlan(m_site, PathBelow::inFolderOf(m_cachePath), m_transfer, m_weekPlan); }

    QTemporaryDir m_dir;
    TestHttpServer m_server;
    InternetTransfer m_transfer;
    WeekSite m_site;
    QString m_cachePath = m_dir.filePath(QStringLiteral("cache.rfk"));
    WeekPlan m_weekPlan; // the week the window holds before the fetch
};

void TestWeekPlanFetch::init()
{
    m_transfer.setRequestTimeout(std::chrono::milliseconds(500));
    m_server.serve(QStringLiteral("/uni/refekt/00.html"), {200, startPage});
    m_server.serve(QStringLiteral("/uni/refekt/t2026kw50.html"), {200, weekPage});
    m_site = {m_server.url(QStringLiteral("/uni/refekt/00.html")), m_server.url(QStringLiteral("/uni/refekt/"))};
    m_weekPlan.clear();
    QFile::remove(m_cachePath);
}

QByteArray TestWeekPlanFetch::cacheBytes() const
{
    QFile file(m_cachePath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no cache>");
}

void TestWeekPlanFetch::writeOldCache()
{
    QFile file(m_cachePath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(oldCache);
    file.close();
    m_weekPlan = loadCache(PathBelow::inFolderOf(m_cachePath)).weekPlan;
}

void TestWeekPlanFetch::fetch_followsWeekLink_andWritesCache()
{
    const int requestsBefore = m_server.requestCount(QStringLiteral("/uni/refekt/t2026kw50.html"));
    const FetchReport report = fetch();

    QVERIFY(report.ok());
    QVERIFY(report.sectionsFound);
    QCOMPARE(report.weekPlan, (WeekPlan{u"Speiseplan"_qs, u"Montag\r\nMenü I\r\nSchnitzel, Pommes\r\n"_qs,
                                        u"Dienstag\r\nEintopf\r\nLinsen"_qs}));
    QCOMPARE(cacheBytes(), QByteArray("<neuer abschnitt>\r\nSpeiseplan\r\n"
                                      "<neuer abschnitt>\r\nMontag\r\nMen\xfc I\r\nSchnitzel;;; Pommes\r\n\r\n"
                                      "<neuer abschnitt>\r\nDienstag\r\nEintopf\r\nLinsen\r\n"));
    QCOMPARE(m_server.requestCount(QStringLiteral("/uni/refekt/t2026kw50.html")), requestsBefore + 1);
}

void TestWeekPlanFetch::fetch_failure_keepsWeekAndCache_data()
{
    QTest::addColumn<QString>("path"); // which page fails
    QTest::addColumn<TestHttpServer::Response>("response");
    QTest::addColumn<FetchReport::Problem>("problem");
    QTest::addColumn<Download::Error>("error"); // of the failed page
    QTest::addColumn<int>("httpStatus");
    QTest::addColumn<bool>("hasReason"); // the server's or the network's own words come along

    using Problem = FetchReport::Problem;
    const QString start = QStringLiteral("/uni/refekt/00.html");
    const QString week = QStringLiteral("/uni/refekt/t2026kw50.html");
    const QByteArray errorPage = QByteArrayLiteral("<h2>Fehler</h2><h2>Nicht gefunden</h2><hr>");
    QTest::newRow("week page 404") << week << TestHttpServer::Response{404, errorPage} << Problem::WeekPage
                                   << Download::Error::HttpStatus << 404 << true;
    QTest::newRow("week page 500") << week << TestHttpServer::Response{500, errorPage} << Problem::WeekPage
                                   << Download::Error::HttpStatus << 500 << true;
    QTest::newRow("start page 500") << start << TestHttpServer::Response{500, errorPage} << Problem::StartPage
                                    << Download::Error::HttpStatus << 500 << true;
    QTest::newRow("start page without link")
        << start << TestHttpServer::Response{200, QByteArrayLiteral("<a href=\"x.html\">Vom</a>")}
        << Problem::NoWeekLink << Download::Error::None << 0 << false;
    QTest::newRow("week page without sections")
        << week << TestHttpServer::Response{200, QByteArrayLiteral("<h1>Ferien</h1>")} << Problem::NoDaySections
        << Download::Error::None << 0 << false;
    TestHttpServer::Response stalled{200, weekPage};
    stalled.delay = std::chrono::seconds(5);
    QTest::newRow("week page stalls") << week << stalled << Problem::WeekPage << Download::Error::TimedOut << 0
                                      << false;
    QTest::newRow("start page 404") << start << TestHttpServer::Response{404, errorPage} << Problem::StartPage
                                    << Download::Error::HttpStatus << 404 << true;
    QTest::newRow("start page stalls") << start << stalled << Problem::StartPage << Download::Error::TimedOut << 0
                                       << false;
    QTest::newRow("week page 300 without Location") << week << TestHttpServer::Response{300, weekPage}
                                                    << Problem::WeekPage << Download::Error::HttpStatus << 300 << true;
    QTest::newRow("week page 304") << week << TestHttpServer::Response{304, weekPage} << Problem::WeekPage
                                   << Download::Error::HttpStatus << 304 << true;
    QTest::newRow("week page trickles")
        << week << TestHttpServer::Response{.body = weekPage, .trickle = std::chrono::milliseconds(100)}
        << Problem::WeekPage << Download::Error::TimedOut << 200 << false;
    // Monday came, Tuesday did not: that must not pass for the week.
    const qsizetype tuesday = weekPage.indexOf("<h2>Dienstag");
    QTest::newRow("week page shorter than its Content-Length")
        << week << TestHttpServer::Response{.body = weekPage, .breakOffAt = tuesday} << Problem::WeekPage
        << Download::Error::BrokenOff << 200 << true;
    QTest::newRow("chunked week page without its last chunk")
        << week << TestHttpServer::Response{.body = weekPage, .breakOffAt = tuesday, .chunked = true}
        << Problem::WeekPage << Download::Error::BrokenOff << 200 << true;
}

void TestWeekPlanFetch::fetch_failure_keepsWeekAndCache()
{
    QFETCH(QString, path);
    QFETCH(TestHttpServer::Response, response);
    QFETCH(FetchReport::Problem, problem);
    QFETCH(Download::Error, error);
    QFETCH(int, httpStatus);
    QFETCH(bool, hasReason);

    writeOldCache();
    const WeekPlan before = m_weekPlan;
    m_server.serve(path, response);
    // basisURL itself holds a week when the start page fails, which a fetch that went on would show.
    const bool startPageFails = path.endsWith(u"00.html") && problem != FetchReport::Problem::NoWeekLink;
    m_server.serve(QStringLiteral("/uni/refekt/"), {startPageFails ? 200 : 404, weekPage});

    const FetchReport report = fetch();

    QCOMPARE(report.problem, problem);
    const Download failed = report.failedDownload() ? *report.failedDownload() : Download();
    QCOMPARE(failed.error, error);
    QCOMPARE(failed.httpStatus, httpStatus);
    QCOMPARE(!failed.reason.isEmpty(), hasReason);
    QCOMPARE(report.weekPlan, before);
    QCOMPARE(cacheBytes(), oldCache);
}

void TestWeekPlanFetch::fetch_withoutWeekLink_asksForBasisUrl()
{
    m_server.serve(QStringLiteral("/uni/refekt/00.html"), {200, QByteArrayLiteral("<a href=\"t.html\">vom</a>")});
    m_server.serve(QStringLiteral("/uni/refekt/"), {200, weekPage});

    const int requestsBefore = m_server.requestCount(QStringLiteral("/uni/refekt/"));
    const FetchReport report = fetch();

    // The base page itself held a week, so the fetch succeeded after all.
    QVERIFY(report.ok());
    QCOMPARE(m_server.requestCount(QStringLiteral("/uni/refekt/")), requestsBefore + 1);
    QCOMPARE(report.weekPlan.size(), 3);
}

void TestWeekPlanFetch::fetch_utf8Page_findsUmlautHeadings()
{
    TestHttpServer::Response utf8{
        200, QStringLiteral("<h2>Woche</h2><h2>Montag</h2><BR>Menü I<BR>Käsespätzle<hr>").toUtf8()};
    utf8.contentType = QByteArrayLiteral("text/html; charset=UTF-8");
    m_server.serve(QStringLiteral("/uni/refekt/t2026kw50.html"), utf8);

    const FetchReport report = fetch();
    QVERIFY(report.ok());
    QCOMPARE(report.weekPlan.value(1), u"Montag\r\nMenü I\r\nKäsespätzle"_qs);
}

void TestWeekPlanFetch::fetch_firstRunWithoutSections_writesNoCache()
{
    m_server.serve(QStringLiteral("/uni/refekt/t2026kw50.html"), {200, QByteArrayLiteral("nichts")});

    const FetchReport report = fetch();

    QCOMPARE(report.problem, FetchReport::Problem::NoDaySections);
    QVERIFY(report.weekPlan.isEmpty());
    QVERIFY(!QFile::exists(m_cachePath));
}

void TestWeekPlanFetch::fetch_cacheNotWritten_keepsNewWeekInMemory()
{
    writeOldCache();
    FetchReport report;
    {
        const FileSizeLimit diskFull(16);
        report = fetch();
    }
    QCOMPARE(report.problem, FetchReport::Problem::CacheNotWritten);
    QCOMPARE(report.cacheFailure.kind, kostwerk::platform::FileFailure::Kind::System);
    QVERIFY(!report.cacheFailure.systemText.isEmpty());
    QCOMPARE(report.weekPlan.size(), 3);
    QCOMPARE(cacheBytes(), oldCache);
}

QTEST_GUILESS_MAIN(TestWeekPlanFetch)
#include "tst_weeksession.moc"
