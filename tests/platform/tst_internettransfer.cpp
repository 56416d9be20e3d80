// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/internettransfer.h"
#include "tests/common/testhttpserver.h"

#include <QSignalSpy>
#include <QStringEncoder>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace kostwerk::platform;

using namespace std::chrono_literals;

namespace {

const QString pagePath = QStringLiteral("/page.html");

// Runs a download to its end in the event loop, as the program does.
Download downloadOf(InternetTransfer &transfer, const QString &url)
{
    QSignalSpy finished(&transfer, &InternetTransfer::finished);
    if (!transfer.start(url) || !finished.wait(30'000))
        return {};
    return finished.constFirst().constFirst().value<Download>();
}

// A loopback port that was free a moment ago, so nothing listens there.
QString refusingUrl()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost))
        return {};
    return QStringLiteral("http://127.0.0.1:%1/").arg(probe.serverPort());
}

} // namespace

class TestInternetTransfer final : public QObject
{
    Q_OBJECT

private slots:
    void page_isDecodedByItsCharset_data();
    void page_isDecodedByItsCharset();
    void errorStatus_failsWithoutText_data();
    void errorStatus_failsWithoutText();
    void unreachableUrl_failsWithItsKind_data();
    void unreachableUrl_failsWithItsKind();
    void redirects_areFollowedUpToFive_data();
    void redirects_areFollowedUpToFive();
    void pageBeyondMaxPageSize_isTooLarge_data();
    void pageBeyondMaxPageSize_isTooLarge();
    void stalledServer_timesOut();
    void isRunning_fromStartToFinished_data();
    void isRunning_fromStartToFinished();
    void secondStart_whileRunning_isRefused();
    void abort_endsTheDownloadAtOnce_data();
    void abort_endsTheDownloadAtOnce();

private:
    QTemporaryDir m_dir;
};

void TestInternetTransfer::page_isDecodedByItsCharset_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QString>("text");

    QTest::newRow("Windows-1252 without charset")
        << QByteArray("<p>Gem\xFCse mit K\xE4se</p>") << QByteArray("text/html")
        << QStringLiteral("<p>Gemüse mit Käse</p>");
    QTest::newRow("no Content-Type header")
        << QByteArray("<p>Gr\xFC\xDF Gott</p>") << QByteArray() << QStringLiteral("<p>Grüß Gott</p>");
    QTest::newRow("UTF-8 in Content-Type") << QByteArray("<p>Gem\xC3\xBCse</p>")
                                           << QByteArray("text/html; charset=UTF-8") << QStringLiteral("<p>Gemüse</p>");
    QTest::newRow("UTF-8 byte-order mark")
        << QByteArray("\xEF\xBB\xBF<p>Gem\xC3\xBCse</p>") << QByteArray("text/html") << QStringLiteral("<p>Gemüse</p>");
    QTest::newRow("meta charset") << QByteArray("<meta charset=\"utf-8\"><p>Gem\xC3\xBCse</p>")
                                  << QByteArray("text/html") << QStringLiteral("<meta charset=\"utf-8\"><p>Gemüse</p>");
    QTest::newRow("meta http-equiv")
        << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
                      "<p>Gem\xC3\xBCse</p>")
        << QByteArray("text/html")
        << QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; "
                          "charset=utf-8\"><p>Gemüse</p>");
    QTest::newRow("ISO-8859-1 read as Windows-1252")
        << QByteArray("<p>Men\xFC 2,50 \x80</p>") << QByteArray("text/html; charset=ISO-8859-1")
        << QStringLiteral("<p>Menü 2,50 €</p>");
    QTest::newRow("Windows-1252 bytes under a UTF-8 header")
        << QByteArray("<p>Men\xFC I</p>") << QByteArray("text/html; charset=utf-8") << QStringLiteral("<p>Menü I</p>");
    QTest::newRow("Windows-1252 bytes under a UTF-8 meta tag")
        << QByteArray("<meta charset=\"utf-8\"><p>Men\xFC I</p>") << QByteArray("text/html")
        << QStringLiteral("<meta charset=\"utf-8\"><p>Menü I</p>");
    QTest::newRow("stray bytes in UTF-8 read as Windows-1252, the rest as UTF-8")
        << QByteArray("<p>Men\xC3\xBC I \x80\xE2\x82") << QByteArray("text/html; charset=utf-8")
        << QStringLiteral("<p>Menü I €â‚");
    QTest::newRow("unlabelled UTF-8") << QByteArray("<p>Gem\xC3\xBCse</p>") << QByteArray()
                                      << QStringLiteral("<p>Gemüse</p>");
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    QTest::newRow("UTF-16 byte-order mark beats the label")
        << QByteArray(utf16.encode(u"<p>Gemüse</p>"_qs)) << QByteArray("text/html; charset=windows-1252")
        << QStringLiteral("<p>Gemüse</p>");
}

void TestInternetTransfer::page_isDecodedByItsCharset()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, contentType);
    QFETCH(QString, text);
    TestHttpServer server;
    server.serve(pagePath, {.body = body, .contentType = contentType});
    InternetTransfer transfer;

    const Download download = downloadOf(transfer, server.url(pagePath));

    QCOMPARE(download.error, Download::Error::None);
    QCOMPARE(download.text, text);
}

void TestInternetTransfer::errorStatus_failsWithoutText_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("served");
    QTest::addColumn<QString>("reason");
    QTest::newRow("404 with an error page") << 404 << true << "Not Found";
    QTest::newRow("500 with an error page") << 500 << true << "Internal Server Error";
    QTest::newRow("unknown path") << 404 << false << "Not Found";
}

void TestInternetTransfer::errorStatus_failsWithoutText()
{
    QFETCH(int, status);
    QFETCH(bool, served);
    QFETCH(QString, reason);
    TestHttpServer server;
    if (served)
        server.serve(pagePath, {.status = status, .body = "<h2>Fehler</h2><p>Montag</p>"});
    InternetTransfer transfer;

    const Download download = downloadOf(transfer, server.url(pagePath));

    QCOMPARE(download.error, Download::Error::HttpStatus);
    QCOMPARE(download.httpStatus, status);
    QCOMPARE(download.reason, reason);
    QVERIFY(download.text.isEmpty());
    QCOMPARE(server.requestCount(pagePath), 1);
}

void TestInternetTransfer::unreachableUrl_failsWithItsKind_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<Download::Error>("error");
    QTest::newRow("connection refused") << refusingUrl() << Download::Error::NoConnection;
    QTest::newRow("host not found") << QStringLiteral("http://kostwerk-test.invalid/00.html")
                                    << Download::Error::NoConnection;
    // Opened, a FIFO would block until a writer came, beyond any time-out.
    const QString fifo = m_dir.filePath(QStringLiteral("fifo"));
    QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    QTest::newRow("file: URL of a FIFO") << QUrl::fromLocalFile(fifo).toString() << Download::Error::NotHttp;
}

void TestInternetTransfer::unreachableUrl_failsWithItsKind()
{
    QFETCH(QString, url);
    QFETCH(Download::Error, error);
    QVERIFY(!url.isEmpty());
    InternetTransfer transfer;

    const Download download = downloadOf(transfer, url);

    QCOMPARE(download.error, error);
    QVERIFY(download.text.isEmpty());
    // The network's own words come along; a URL refused at once has none.
    QCOMPARE(download.reason.isEmpty(), error == Download::Error::NotHttp);
}

void TestInternetTransfer::redirects_areFollowedUpToFive_data()
{
    QTest::addColumn<int>("hops");
    QTest::addColumn<int>("status");
    QTest::addColumn<Download::Error>("error");
    QTest::newRow("one 301") << 1 << 301 << Download::Error::None;
    QTest::newRow("two 302") << 2 << 302 << Download::Error::None;
    QTest::newRow("five 302") << 5 << 302 << Download::Error::None;
    QTest::newRow("six 302") << 6 << 302 << Download::Error::Failed;
}

void TestInternetTransfer::redirects_areFollowedUpToFive()
{
    QFETCH(int, hops);
    QFETCH(int, status);
    QFETCH(Download::Error, error);
    TestHttpServer server;
    server.serve(pagePath, {.body = "<h2>Montag</h2>"});
    const auto hopPath = [](int hop) { return QStringLiteral("/hop%1").arg(hop); };
    for (int hop = 1; hop <= hops; ++hop) {
        const QString target = hop == hops ? pagePath : hopPath(hop + 1);
        server.serve(hopPath(hop), {.status = status, .location = target.toLatin1()});
    }
    InternetTransfer transfer;

    const Download download = downloadOf(transfer, server.url(hopPath(1)));

    QCOMPARE(download.error, error);
    QCOMPARE(download.text, download.ok() ? QStringLiteral("<h2>Montag</h2>") : QString());
    QCOMPARE(server.requestCount(pagePath), download.ok() ? 1 : 0);
}

void TestInternetTransfer::pageBeyondMaxPageSize_isTooLarge_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<Download::Error>("error");
    QTest::newRow("exactly maxPageSize") << InternetTransfer::maxPageSize << Download::Error::None;
    QTest::newRow("one byte more") << InternetTransfer::maxPageSize + 1 << Download::Error::TooLarge;
}

void TestInternetTransfer::pageBeyondMaxPageSize_isTooLarge()
{
    QFETCH(qint64, size);
    QFETCH(Download::Error, error);
    TestHttpServer server;
    // Not text, so that the server sends it uncompressed: Qt takes a page
    // that inflates this much for an archive bomb.
    server.serve(pagePath, {.body = QByteArray(size, 'a'), .contentType = "application/octet-stream"});
    InternetTransfer transfer;

    const Download download = downloadOf(transfer, server.url(pagePath));

    QCOMPARE(download.error, error);
    QCOMPARE(download.text.size(), download.ok() ? size : 0);
}

void TestInternetTransfer::stalledServer_timesOut()
{
    TestHttpServer server;
    server.serve(pagePath, {.body = "<h2>Montag</h2>", .delay = 5s});
    InternetTransfer transfer;
    transfer.setRequestTimeout(300ms);

    const Download download = downloadOf(transfer, server.url(pagePath));

    QCOMPARE(download.error, Download::Error::TimedOut);
    QVERIFY(download.text.isEmpty());
}

void TestInternetTransfer::isRunning_fromStartToFinished_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("a page, stalling where that matters") << pagePath;
    QTest::newRow("a URL refused at once") << QStringLiteral("file:///etc/hostname");
}

void TestInternetTransfer::isRunning_fromStartToFinished()
{
    QFETCH(QString, url);
    TestHttpServer server;
    server.serve(pagePath, {.body = "<h2>Montag</h2>"});
    InternetTransfer transfer;
    QSignalSpy finished(&transfer, &InternetTransfer::finished);
    QVERIFY(!transfer.isRunning());

    QVERIFY(transfer.start(url.startsWith(u'/') ? server.url(url) : url));
    // Reported from the event loop, never from within start().
    QVERIFY(transfer.isRunning());
    QCOMPARE(finished.count(), 0);

    QVERIFY(finished.wait(30'000));
    QVERIFY(!transfer.isRunning());
}

void TestInternetTransfer::secondStart_whileRunning_isRefused()
{
    TestHttpServer server;
    const QString otherPath = QStringLiteral("/other.html");
    server.serve(pagePath, {.body = "<h2>Montag</h2>"});
    server.serve(otherPath, {.body = "<h2>Dienstag</h2>"});
    InternetTransfer transfer;
    QSignalSpy finished(&transfer, &InternetTransfer::finished);

    QVERIFY(transfer.start(server.url(pagePath)));
    QVERIFY(!transfer.start(server.url(otherPath)));

    QVERIFY(finished.wait(30'000));
    QCOMPARE(finished.constFirst().constFirst().value<Download>().text, QStringLiteral("<h2>Montag</h2>"));
    QCOMPARE(server.requestCount(otherPath), 0);
}

void TestInternetTransfer::abort_endsTheDownloadAtOnce_data()
{
    isRunning_fromStartToFinished_data();
}

void TestInternetTransfer::abort_endsTheDownloadAtOnce()
{
    QFETCH(QString, url);
    TestHttpServer server;
    server.serve(pagePath, {.body = "<h2>Montag</h2>", .delay = 30s});
    InternetTransfer transfer;
    QSignalSpy finished(&transfer, &InternetTransfer::finished);
    QVERIFY(transfer.start(url.startsWith(u'/') ? server.url(url) : url));

    transfer.abort();

    QCOMPARE(finished.count(), 1);
    const Download download = finished.constFirst().constFirst().value<Download>();
    QCOMPARE(download.error, Download::Error::Interrupted);
    QVERIFY(download.text.isEmpty());
    QVERIFY(!transfer.isRunning());
}

QTEST_GUILESS_MAIN(TestInternetTransfer)
#include "tst_internettransfer.moc"
