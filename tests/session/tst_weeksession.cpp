// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/cachefile.h"
#include "platform/internettransfer.h"
#include "session/weeksession.h"
#include "tests/common/filesizelimit.h"
#include "tests/common/testhttpserver.h"

#include <QFile>
#include <QMetaEnum>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kostwerk::platform;
using namespace kostwerk::core;
using namespace kostwerk::session;

namespace {

using Step = WeekPlanFetch::Step;

const QByteArray startPage = QByteArrayLiteral(
    "<html><body><a href=\"index.html\">Start</a> <A HREF=\"t2026kw50.html\">Vom 07.12. bis 12.12.</A></body></html>");
const QByteArray weekPage = QByteArrayLiteral(
    "<h2>Speiseplan</h2>\r\n<h2>Montag</h2><BR>Men\xfc I<BR>Schnitzel, Pommes<BR>"
    "<h2>Dienstag</h2><BR>Eintopf<BR>Linsen<hr>");
const QByteArray oldCache = QByteArrayLiteral(
    "<neuer abschnitt>\r\nAlte Woche\r\n<neuer abschnitt>\r\nMontag\r\nReis\r\n");
const QDateTime now(QDate(2026, 12, 9), QTime(9, 30));

} // namespace

class TestWeekSession final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void fetch_followsWeekLink_andWritesCache();
    void fetch_failure_keepsWeekAndCache_data();
    void fetch_failure_keepsWeekAndCache();
    void abort_duringEachStep_keepsWeekAndCache_data();
    void abort_duringEachStep_keepsWeekAndCache();
    void fetch_withoutWeekLink_asksForBasisUrl();
    void fetch_utf8Page_findsUmlautHeadings();
    void fetch_firstRunWithoutSections_writesNoCache();
    void fetch_cacheNotWritten_keepsNewWeekInMemory();

private:
    QByteArray cacheBytes() const;
    void writeOldCache() const;
    // Starts the session as the program starts; the week it holds then.
    WeekPlan startSession();
    // Runs a fetch to its end.
    RefreshReport fetch();

    QTemporaryDir m_dir; // the program's folder
    TestHttpServer m_server;
    InternetTransfer m_transfer;
    WeekSession m_session{m_transfer, [] { return now; }};
    QString m_cachePath = m_dir.filePath(QStringLiteral("cache.rfk"));
};

void TestWeekSession::init()
{
    // Short enough for the stalling rows, long enough for a loaded machine
    // to read a part before the server closes on it.
    m_transfer.setRequestTimeout(std::chrono::seconds(2));
    m_server.serve(QStringLiteral("/uni/refekt/00.html"), {200, startPage});
    m_server.serve(QStringLiteral("/uni/refekt/t2026kw50.html"), {200, weekPage});
    QFile::remove(m_cachePath);
    QFile ini(m_dir.filePath(QStringLiteral("refekt.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Settings]\r\nstartURL=" + m_server.url(QStringLiteral("/uni/refekt/00.html")).toLatin1()
              + "\r\nbasisURL=" + m_server.url(QStringLiteral("/uni/refekt/")).toLatin1()
              + "\r\ncacheFile=cache.rfk\r\n");
}

QByteArray TestWeekSession::cacheBytes() const
{
    QFile file(m_cachePath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no cache>");
}

void TestWeekSession::writeOldCache() const
{
    QFile file(m_cachePath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(oldCache);
}

WeekPlan TestWeekSession::startSession()
{
    m_session.start(m_dir.path(), QCoreApplication::applicationFilePath());
    return m_session.week();
}

RefreshReport TestWeekSession::fetch()
{
    QSignalSpy finished(&m_session, &WeekSession::fetchFinished);
    m_session.refresh();
    if (finished.isEmpty() && !finished.wait(30'000))
        return {};
    return finished.constFirst().constFirst().value<RefreshReport>();
}

void TestWeekSession::fetch_followsWeekLink_andWritesCache()
{
    startSession();
    const QObject context; // ends the connections below with the test
    QStringList signalsInOrder;
    connect(&m_session, &WeekSession::fetchStarted, &context, [&] { signalsInOrder.append(u"started"_qs); });
    connect(&m_session, &WeekSession::fetchStep, &context, [&](Step step) {
        signalsInOrder.append(QString::fromLatin1(QMetaEnum::fromType<Step>().valueToKey(int(step))));
    });
    connect(&m_session, &WeekSession::weekChanged, &context, [&] { signalsInOrder.append(u"weekChanged"_qs); });
    const int requestsBefore = m_server.requestCount(QStringLiteral("/uni/refekt/t2026kw50.html"));
    const FetchReport report = fetch().fetch;

    QCOMPARE(signalsInOrder, (QStringList{u"started"_qs, u"StartPage"_qs, u"WeekPage"_qs, u"weekChanged"_qs}));
    QVERIFY(report.ok());
    QVERIFY(report.sectionsFound);
    QCOMPARE(report.weekPlan, (WeekPlan{u"Speiseplan"_qs, u"Montag\r\nMenü I\r\nSchnitzel, Pommes\r\n"_qs,
                                        u"Dienstag\r\nEintopf\r\nLinsen"_qs}));
    QCOMPARE(m_session.week(), report.weekPlan);
    QCOMPARE(m_session.stand(), now);
    QCOMPARE(cacheBytes(), QByteArray("<neuer abschnitt>\r\nSpeiseplan\r\n"
                                      "<neuer abschnitt>\r\nMontag\r\nMen\xfc I\r\nSchnitzel;;; Pommes\r\n\r\n"
                                      "<neuer abschnitt>\r\nDienstag\r\nEintopf\r\nLinsen\r\n"));
    QCOMPARE(m_server.requestCount(QStringLiteral("/uni/refekt/t2026kw50.html")), requestsBefore + 1);
}

void TestWeekSession::fetch_failure_keepsWeekAndCache_data()
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
    // Monday came, Tuesday did not: that must not pass for the week, whether
    // the close comes with the part or after the client has read it.
    const qsizetype tuesday = weekPage.indexOf("<h2>Dienstag");
    QTest::newRow("week page shorter than its Content-Length, closed at once")
        << week << TestHttpServer::Response{.body = weekPage, .breakOffAt = tuesday} << Problem::WeekPage
        << Download::Error::BrokenOff << 200 << false;
    QTest::newRow("week page shorter than its Content-Length, closed once read")
        << week << TestHttpServer::Response{.body = weekPage, .breakOffAt = tuesday, .closeWhenTold = true}
        << Problem::WeekPage << Download::Error::BrokenOff << 200 << false;
    // Qt 6.4 takes a chunked body as complete when the answer is read before
    // Qt has seen its own request go out; the server waits that out here.
    QTest::newRow("chunked week page without its last chunk, closed once read")
        << week
        << TestHttpServer::Response{.body = weekPage,
                                    .delay = std::chrono::milliseconds(100),
                                    .breakOffAt = tuesday,
                                    .chunked = true,
                                    .closeWhenTold = true}
        << Problem::WeekPage << Download::Error::BrokenOff << 200 << true;
}

void TestWeekSession::fetch_failure_keepsWeekAndCache()
{
    QFETCH(QString, path);
    QFETCH(TestHttpServer::Response, response);
    QFETCH(FetchReport::Problem, problem);
    QFETCH(Download::Error, error);
    QFETCH(int, httpStatus);
    QFETCH(bool, hasReason);

    writeOldCache();
    const WeekPlan before = startSession();
    m_server.serve(path, response);
    // basisURL itself holds a week when the start page fails, which a fetch that went on would show.
    const bool startPageFails = path.endsWith(u"00.html") && problem != FetchReport::Problem::NoWeekLink;
    m_server.serve(QStringLiteral("/uni/refekt/"), {startPageFails ? 200 : 404, weekPage});
    // A part of the week page is closed on once it has all been read.
    const QObject context;
    bool weekPageRunning = false;
    connect(&m_session, &WeekSession::fetchStep, &context,
            [&](Step step) { weekPageRunning = step == Step::WeekPage; });
    connect(&m_transfer, &InternetTransfer::received, &context, [&](qint64 bytes) {
        if (weekPageRunning && response.closeWhenTold && bytes == response.breakOffAt) {
            weekPageRunning = false;
            m_server.closeBrokenOff();
        }
    });

    const FetchReport report = fetch().fetch;

    QCOMPARE(report.problem, problem);
    const Download failed = report.failedDownload() ? *report.failedDownload() : Download();
    QCOMPARE(failed.error, error);
    QCOMPARE(failed.httpStatus, httpStatus);
    QCOMPARE(!failed.reason.isEmpty(), hasReason);
    QCOMPARE(report.weekPlan, before);
    QCOMPARE(m_session.week(), before);
    QVERIFY(m_session.dataLoaded());
    QCOMPARE(cacheBytes(), oldCache);
}

void TestWeekSession::abort_duringEachStep_keepsWeekAndCache_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<FetchReport::Problem>("problem");
    QTest::newRow("start page") << Step::StartPage << FetchReport::Problem::StartPage;
    QTest::newRow("week page") << Step::WeekPage << FetchReport::Problem::WeekPage;
}

void TestWeekSession::abort_duringEachStep_keepsWeekAndCache()
{
    QFETCH(Step, step);
    QFETCH(FetchReport::Problem, problem);
    writeOldCache();
    const WeekPlan before = startSession();
    QSignalSpy finished(&m_session, &WeekSession::fetchFinished);
    const QObject context;
    bool endedAtOnce = false;
    connect(&m_session, &WeekSession::fetchStep, &context, [&](Step running) {
        if (running != step)
            return;
        m_session.abort();
        endedAtOnce = finished.count() == 1;
    });

    m_session.refresh();

    QVERIFY(!finished.isEmpty() || finished.wait(30'000));
    QVERIFY(endedAtOnce);
    QVERIFY(!m_session.isFetching());
    const FetchReport report = finished.constFirst().constFirst().value<RefreshReport>().fetch;
    QCOMPARE(report.problem, problem);
    QCOMPARE(report.failedDownload()->error, Download::Error::Interrupted);
    QCOMPARE(m_session.week(), before);
    QCOMPARE(cacheBytes(), oldCache);
}

void TestWeekSession::fetch_withoutWeekLink_asksForBasisUrl()
{
    m_server.serve(QStringLiteral("/uni/refekt/00.html"), {200, QByteArrayLiteral("<a href=\"t.html\">vom</a>")});
    m_server.serve(QStringLiteral("/uni/refekt/"), {200, weekPage});

    startSession();
    const int requestsBefore = m_server.requestCount(QStringLiteral("/uni/refekt/"));
    const FetchReport report = fetch().fetch;

    // The base page itself held a week, so the fetch succeeded after all.
    QVERIFY(report.ok());
    QCOMPARE(m_server.requestCount(QStringLiteral("/uni/refekt/")), requestsBefore + 1);
    QCOMPARE(report.weekPlan.size(), 3);
}

void TestWeekSession::fetch_utf8Page_findsUmlautHeadings()
{
    TestHttpServer::Response utf8{
        200, QStringLiteral("<h2>Woche</h2><h2>Montag</h2><BR>Menü I<BR>Käsespätzle<hr>").toUtf8()};
    utf8.contentType = QByteArrayLiteral("text/html; charset=UTF-8");
    m_server.serve(QStringLiteral("/uni/refekt/t2026kw50.html"), utf8);
    startSession();

    const FetchReport report = fetch().fetch;
    QVERIFY(report.ok());
    QCOMPARE(report.weekPlan.value(1), u"Montag\r\nMenü I\r\nKäsespätzle"_qs);
}

void TestWeekSession::fetch_firstRunWithoutSections_writesNoCache()
{
    m_server.serve(QStringLiteral("/uni/refekt/t2026kw50.html"), {200, QByteArrayLiteral("nichts")});
    startSession();

    const FetchReport report = fetch().fetch;

    QCOMPARE(report.problem, FetchReport::Problem::NoDaySections);
    QVERIFY(report.weekPlan.isEmpty());
    QVERIFY(!QFile::exists(m_cachePath));
}

void TestWeekSession::fetch_cacheNotWritten_keepsNewWeekInMemory()
{
    writeOldCache();
    startSession();
    FetchReport report;
    {
        const FileSizeLimit diskFull(16);
        report = fetch().fetch;
    }
    QCOMPARE(report.problem, FetchReport::Problem::CacheNotWritten);
    QCOMPARE(report.cacheFailure.kind, kostwerk::platform::FileFailure::Kind::System);
    QVERIFY(!report.cacheFailure.systemText.isEmpty());
    QCOMPARE(report.weekPlan.size(), 3);
    QCOMPARE(m_session.week(), report.weekPlan);
    QCOMPARE(cacheBytes(), oldCache);
}

QTEST_GUILESS_MAIN(TestWeekSession)
#include "tst_weeksession.moc"
