// SPDX-License-Identifier: GPL-3.0-or-later

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

// Starts the real kostwerk-sample-server and fetches from it over loopback.
class TestSampleServer final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void get_servesTheSampleSiteAsTheCanteenDoes_data();
    void get_servesTheSampleSiteAsTheCanteenDoes();
    void ownRoot_isServedUntilSignalled_data();
    void ownRoot_isServedUntilSignalled();
    void portInUse_failsWithoutAddress();
    void nextWeek_movesEveryDateAWeekOn_data();
    void nextWeek_movesEveryDateAWeekOn();

private:
    struct Response
    {
        int status = 0;
        QByteArray contentType;
        QByteArray body;
    };
    // The address from the one line the server prints when it is ready.
    static QUrl start(QProcess &server, const QStringList &arguments);
    Response get(const QUrl &url);

    QNetworkAccessManager m_network;
    QProcess m_sampleServer;
    QUrl m_sampleUrl;
};

QUrl TestSampleServer::start(QProcess &server, const QStringList &arguments)
{
    server.setStandardErrorFile(QProcess::nullDevice()); // the request log
    server.start(QStringLiteral(KOSTWERK_SAMPLE_SERVER), arguments);
    while (!server.canReadLine() && server.waitForReadyRead(-1)) {
    }
    const QString line = QString::fromUtf8(server.readLine());
    static const QRegularExpression format(QStringLiteral(R"(^http://127\.0\.0\.1:[1-9]\d*/\n$)"));
    if (!format.match(line).hasMatch())
        return QUrl();
    return QUrl(line.trimmed());
}

TestSampleServer::Response TestSampleServer::get(const QUrl &url)
{
    const std::unique_ptr<QNetworkReply> reply(m_network.get(QNetworkRequest(url)));
    QEventLoop loop;
    connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->rawHeader("Content-Type"),
            reply->readAll()};
}

void TestSampleServer::initTestCase()
{
    m_network.setProxy(QNetworkProxy::NoProxy);
    m_sampleUrl = start(m_sampleServer, {});
    QVERIFY(m_sampleUrl.isValid());
}

void TestSampleServer::cleanupTestCase()
{
    m_sampleServer.terminate();
    m_sampleServer.waitForFinished(-1);
}

void TestSampleServer::get_servesTheSampleSiteAsTheCanteenDoes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("file"); // the expected body, from the sample site
    QTest::newRow("start page") << u"uni/refekt/00.html"_qs << 200 << u"uni/refekt/00.html"_qs;
    QTest::newRow("week page") << u"uni/refekt/t2026kw50.html"_qs << 200 << u"uni/refekt/t2026kw50.html"_qs;
    QTest::newRow("missing page") << u"uni/refekt/t2026kw51.html"_qs << 404 << QString();
}

void TestSampleServer::get_servesTheSampleSiteAsTheCanteenDoes()
{
    QFETCH(QString, path);
    QFETCH(int, status);
    QFETCH(QString, file);
    const Response response = get(m_sampleUrl.resolved(QUrl(path)));
    QCOMPARE(response.status, status);
    if (file.isEmpty())
        return;
    // Without a charset the program reads the page as Windows-1252.
    QCOMPARE(response.contentType, QByteArray("text/html"));
    QFile expected(QStringLiteral(KOSTWERK_SAMPLE_SITE "/") + file);
    QVERIFY(expected.open(QIODevice::ReadOnly));
    QCOMPARE(response.body, expected.readAll());
}

void TestSampleServer::ownRoot_isServedUntilSignalled_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestSampleServer::ownRoot_isServedUntilSignalled()
{
    QFETCH(int, signal);
    QTemporaryDir root;
    QFile page(root.filePath(u"woche.htm"_qs));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<h2>Gr\xfc\xdf"
               "e</h2>");
    page.close();

    QProcess server;
    const QUrl url = start(server, {u"--root"_qs, root.path()});
    QVERIFY(url.isValid());
    const Response response = get(url.resolved(QUrl(u"woche.htm"_qs)));
    QCOMPARE(response.status, 200);
    QCOMPARE(response.contentType, QByteArray("text/html"));
    QCOMPARE(response.body, QByteArray("<h2>Gr\xfc\xdf"
                                       "e</h2>"));

    ::kill(pid_t(server.processId()), signal);
    QVERIFY(server.waitForFinished(-1));
    QCOMPARE(server.exitStatus(), QProcess::NormalExit);
    QCOMPARE(server.exitCode(), 0);
}

void TestSampleServer::portInUse_failsWithoutAddress()
{
    QProcess server;
    server.start(QStringLiteral(KOSTWERK_SAMPLE_SERVER), {u"--port"_qs, QString::number(m_sampleUrl.port())});
    QVERIFY(server.waitForFinished(-1));
    QCOMPARE(server.exitCode(), 1);
    QCOMPARE(server.readAllStandardOutput(), QByteArray());
    QVERIFY(server.readAllStandardError().startsWith("kostwerk-sample-server: Port nicht verf\xc3\xbcgbar"));
}

void TestSampleServer::nextWeek_movesEveryDateAWeekOn_data()
{
    QTest::addColumn<QByteArray>("page"); // in t2026kw53.htm, which the following week names t2027kw01.htm
    QTest::addColumn<QByteArray>("nextWeeksPage");
    QTest::newRow("into the next year, other bytes kept") << QByteArray("M\xfc"
                                                                        "nchen 28.12.2026 - 02.01.2027")
                                                          << QByteArray("M\xfc"
                                                                        "nchen 04.01.2027 - 09.01.2027");
    QTest::newRow("links to a 53-week year's last weeks")
        << QByteArray("t2026kw52.html t2026kw53.html") << QByteArray("t2026kw53.html t2027kw01.html");
    QTest::newRow("no year: the next date's, leap or not") << QByteArray("24.02. - 01.03.2028, 24.02. - 02.03.2027")
                                                           << QByteArray("02.03. - 08.03.2028, 03.03. - 09.03.2027");
    const QByteArray noDates("3,20 11:15 07.12.26 107.12.2026 31.02.2026");
    QTest::newRow("no dates") << noDates << noDates;
}

void TestSampleServer::nextWeek_movesEveryDateAWeekOn()
{
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, nextWeeksPage);
    // A root relative to the working folder, as tools/run.sh gives it.
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(u"site"_qs));
    QFile thisWeek(folder.filePath(u"site/t2026kw53.htm"_qs));
    QVERIFY(thisWeek.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && thisWeek.write(page) == page.size());
    QProcess server;
    server.setWorkingDirectory(folder.path());
    const QUrl url = start(server, {u"--root"_qs, u"site"_qs, u"--next-week"_qs});
    QVERIFY(url.isValid());
    const QByteArray served = get(url.resolved(QUrl(u"t2027kw01.htm"_qs))).body;
    server.terminate();
    QVERIFY(server.waitForFinished(-1));
    QCOMPARE(served, nextWeeksPage);
}

QTEST_GUILESS_MAIN(TestSampleServer)
#include "tst_sampleserver.moc"
