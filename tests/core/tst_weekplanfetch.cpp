#include "cachefile.h"
#include "filesizelimit.h"
#include "internettransfer.h"
#include "testhttpserver.h"
#include "weekplanfetch.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Records what the fetch tells the window.
class RecordingView final : public FetchView
{
public:
    void setLoadButton(const QString &caption, bool enabled) override
    {
        buttonStates.append(caption + (enabled ? u" (an)" : u" (aus)"));
    }
    int selectedWeekday() const override { return weekday; }
    void showDay(qsizetype n) override { shownDays.append(n); }

    int weekday = 1;
    QStringList buttonStates;
    QList<qsizetype> shownDays;
};

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

    QTemporaryDir m_dir;
    TestHttpServer m_server;
    InternetTransfer m_transfer;
    ProgramState m_state;
    RecordingView m_view;
};

void TestWeekPlanFetch::init()
{
    m_transfer.setRequestTimeout(std::chrono::milliseconds(500));
    m_server.serve(QStringLiteral("/uni/refekt/00.html"), {200, startPage});
    m_server.serve(QStringLiteral("/uni/refekt/t2026kw50.html"), {200, weekPage});
    m_state = ProgramState{};
    m_state.settings.appPath = m_dir.path() + u'/';
    m_state.settings.startURL = m_server.url(QStringLiteral("/uni/refekt/00.html"));
    m_state.settings.basisURL = m_server.url(QStringLiteral("/uni/refekt/"));
    m_state.settings.cacheFile = QStringLiteral("cache.rfk");
    QFile::remove(m_state.settings.cachePath());
    m_view = RecordingView{};
}

QByteArray TestWeekPlanFetch::cacheBytes() const
{
    QFile file(m_state.settings.cachePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no cache>");
}

void TestWeekPlanFetch::writeOldCache()
{
    QFile file(m_state.settings.cachePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(oldCache);
    file.close();
    m_state.weekPlan = *loadCache(m_state.settings.cachePath());
    m_state.dataLoaded = true;
}

void TestWeekPlanFetch::fetch_followsWeekLink_andWritesCache()
{
    const int requestsBefore = m_server.requestCount(QStringLiteral("/uni/refekt/t2026kw50.html"));
    const FetchReport report = reloadWeekPlan(m_state, m_transfer, m_view);

    QVERIFY(report.ok());
    QVERIFY(m_state.dataLoaded);
    QCOMPARE(m_state.weekPlan,
             (WeekPlan{u"Speiseplan"_qs, u"Montag\r\nMenü I\r\nSchnitzel, Pommes\r\n"_qs, u"Dienstag\r\nEintopf\r\nLinsen"_qs}));
    QCOMPARE(cacheBytes(), QByteArray("<neuer abschnitt>\r\nSpeiseplan\r\n"
                                      "<neuer abschnitt>\r\nMontag\r\nMen\xfc I\r\nSchnitzel;;; Pommes\r\n\r\n"
                                      "<neuer abschnitt>\r\nDienstag\r\nEintopf\r\nLinsen\r\n"));
    QCOMPARE(m_view.buttonStates, (QStringList{u"Bitte warten... (aus)"_qs, u"Daten holen (an)"_qs}));
    QCOMPARE(m_view.shownDays, QList<qsizetype>{2});
    QCOMPARE(m_server.requestCount(QStringLiteral("/uni/refekt/t2026kw50.html")), requestsBefore + 1);
}

void TestWeekPlanFetch::fetch_failure_keepsWeekAndCache_data()
{
    QTest::addColumn<QString>("path");  // which page fails
    QTest::addColumn<TestHttpServer::Response>("response");
    QTest::addColumn<FetchReport::Problem>("problem");
    QTest::addColumn<int>("httpStatus");

    using Problem = FetchReport::Problem;
    const QString start = QStringLiteral("/uni/refekt/00.html");
    const QString week = QStringLiteral("/uni/refekt/t2026kw50.html");
    const QByteArray errorPage = QByteArrayLiteral("<h2>Fehler</h2><h2>Nicht gefunden</h2><hr>");
    QTest::newRow("week page 404") << week << TestHttpServer::Response{404, errorPage} << Problem::HttpStatus << 404;
    QTest::newRow("week page 500") << week << TestHttpServer::Response{500, errorPage} << Problem::HttpStatus << 500;
    QTest::newRow("start page 500") << start << TestHttpServer::Response{500, errorPage} << Problem::HttpStatus << 500;
    QTest::newRow("start page without link")
        << start << TestHttpServer::Response{200, QByteArrayLiteral("<a href=\"x.html\">Vom</a>")} << Problem::NoWeekLink << 0;
    QTest::newRow("week page without sections")
        << week << TestHttpServer::Response{200, QByteArrayLiteral("<h1>Ferien</h1>")} << Problem::NoDaySections << 0;
    TestHttpServer::Response stalled{200, weekPage};
    stalled.delay = std::chrono::seconds(5);
    QTest::newRow("week page stalls") << week << stalled << Problem::TimedOut << 0;
}

void TestWeekPlanFetch::fetch_failure_keepsWeekAndCache()
{
    QFETCH(QString, path);
    QFETCH(TestHttpServer::Response, response);
    QFETCH(FetchReport::Problem, problem);
    QFETCH(int, httpStatus);

    writeOldCache();
    const WeekPlan before = m_state.weekPlan;
    m_server.serve(path, response);

    const FetchReport report = reloadWeekPlan(m_state, m_transfer, m_view);

    QCOMPARE(report.problem, problem);
    QCOMPARE(report.httpStatus, httpStatus);
    QCOMPARE(m_state.weekPlan, before);
    QCOMPARE(cacheBytes(), oldCache);
    QCOMPARE(m_view.buttonStates.last(), u"Daten holen (an)"_qs);
    QCOMPARE(m_view.shownDays, QList<qsizetype>{2});
}

void TestWeekPlanFetch::fetch_withoutWeekLink_asksForBasisUrl()
{
    m_server.serve(QStringLiteral("/uni/refekt/00.html"), {200, QByteArrayLiteral("<a href=\"t.html\">vom</a>")});
    m_server.serve(QStringLiteral("/uni/refekt/"), {200, weekPage});

    const int requestsBefore = m_server.requestCount(QStringLiteral("/uni/refekt/"));
    const FetchReport report = fetchWeekPlan(m_state, m_transfer, m_view);

    // The base page itself held a week, so the fetch succeeded after all.
    QVERIFY(report.ok());
    QCOMPARE(m_server.requestCount(QStringLiteral("/uni/refekt/")), requestsBefore + 1);
    QCOMPARE(m_state.weekPlan.size(), 3);
}

void TestWeekPlanFetch::fetch_utf8Page_findsUmlautHeadings()
{
    TestHttpServer::Response utf8{200, QStringLiteral("<h2>Woche</h2><h2>Montag</h2><BR>Menü I<BR>Käsespätzle<hr>").toUtf8()};
    utf8.contentType = QByteArrayLiteral("text/html; charset=UTF-8");
    m_server.serve(QStringLiteral("/uni/refekt/t2026kw50.html"), utf8);

    QVERIFY(fetchWeekPlan(m_state, m_transfer, m_view).ok());
    QCOMPARE(m_state.weekPlan.value(1), u"Montag\r\nMenü I\r\nKäsespätzle"_qs);
}

void TestWeekPlanFetch::fetch_firstRunWithoutSections_writesNoCache()
{
    m_server.serve(QStringLiteral("/uni/refekt/t2026kw50.html"), {200, QByteArrayLiteral("nichts")});

    const FetchReport report = reloadWeekPlan(m_state, m_transfer, m_view);

    QCOMPARE(report.problem, FetchReport::Problem::NoDaySections);
    QVERIFY(m_state.dataLoaded);
    QVERIFY(m_state.weekPlan.isEmpty());
    QVERIFY(!QFile::exists(m_state.settings.cachePath()));
}

void TestWeekPlanFetch::fetch_cacheNotWritten_keepsNewWeekInMemory()
{
    writeOldCache();
    FetchReport report;
    {
        const FileSizeLimit diskFull(16);
        report = fetchWeekPlan(m_state, m_transfer, m_view);
    }
    QCOMPARE(report.problem, FetchReport::Problem::CacheNotWritten);
    QCOMPARE(m_state.weekPlan.size(), 3);
    QCOMPARE(cacheBytes(), oldCache);
}

QTEST_GUILESS_MAIN(TestWeekPlanFetch)
#include "tst_weekplanfetch.moc"
