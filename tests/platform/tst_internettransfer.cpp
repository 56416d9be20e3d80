// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/internettransfer.h"
#include "tests/common/testhttpserver.h"

#include <QCoreApplication>
#include <QStringEncoder>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

#include <sys/stat.h>

using namespace kostwerk::platform;

using namespace std::chrono_literals;

namespace {

const QString pagePath = QStringLiteral("/page.html");

// Runs action from the event loop as soon as the server has received a
// request for path, that is while the client waits for the answer.
void whenRequested(const TestHttpServer &server, const QString &path, QObject *context, std::function<void()> action)
{
    auto *poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, context, [poll, path, action, &server] {
        if (server.requestCount(path) == 0)
            return;
        poll->stop();
        action();
    });
    poll->start(5ms);
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
    void stillExecuting_onlyWhileDownloading();
    void secondDownload_duringWait_isRefused();
    void inputDuringWait_isDroppedNotReplayed();
    void leavingEventLoop_abandonsDownload_data();
    void leavingEventLoop_abandonsDownload();
    void destroyedDuringWait_returnsFailure();

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

    const Download download = transfer.openUrl(server.url(pagePath));

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

    const Download download = transfer.openUrl(server.url(pagePath));

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

    const Download download = transfer.openUrl(url);

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

    const Download download = transfer.openUrl(server.url(hopPath(1)));

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

    const Download download = transfer.openUrl(server.url(pagePath));

    QCOMPARE(download.error, error);
    QCOMPARE(download.text.size(), download.ok() ? size : 0);
}

void TestInternetTransfer::stalledServer_timesOut()
{
    TestHttpServer server;
    server.serve(pagePath, {.body = "<h2>Montag</h2>", .delay = 5s});
    InternetTransfer transfer;
    transfer.setRequestTimeout(300ms);

    const Download download = transfer.openUrl(server.url(pagePath));

    QCOMPARE(download.error, Download::Error::TimedOut);
    QVERIFY(download.text.isEmpty());
}

void TestInternetTransfer::stillExecuting_onlyWhileDownloading()
{
    TestHttpServer server;
    server.serve(pagePath, {.body = "<h2>Montag</h2>"});
    InternetTransfer transfer;
    QVERIFY(!transfer.stillExecuting());
    bool checked = false;
    bool executingDuringWait = false;
    QTimer::singleShot(0, &transfer, [&] {
        checked = true;
        executingDuringWait = transfer.stillExecuting();
    });

    const Download download = transfer.openUrl(server.url(pagePath));

    QVERIFY(download.ok());
    QVERIFY(checked);
    QVERIFY(executingDuringWait);
    QVERIFY(!transfer.stillExecuting());
}

void TestInternetTransfer::secondDownload_duringWait_isRefused()
{
    TestHttpServer server;
    const QString otherPath = QStringLiteral("/other.html");
    server.serve(pagePath, {.body = "<h2>Montag</h2>"});
    server.serve(otherPath, {.body = "<h2>Dienstag</h2>"});
    InternetTransfer transfer;
    Download second;
    QTimer::singleShot(0, &transfer, [&] { second = transfer.openUrl(server.url(otherPath)); });

    const Download first = transfer.openUrl(server.url(pagePath));

    QCOMPARE(first.text, QStringLiteral("<h2>Montag</h2>"));
    QCOMPARE(second.error, Download::Error::Busy);
    QCOMPARE(server.requestCount(otherPath), 0);
}

void TestInternetTransfer::inputDuringWait_isDroppedNotReplayed()
{
    // Records the types of the events it receives.
    struct Receiver final : QObject
    {
        QList<QEvent::Type> received;
        bool event(QEvent *event) override
        {
            received.append(event->type());
            return true;
        }
    } receiver;
    TestHttpServer server;
    server.serve(pagePath, {.body = "<h2>Montag</h2>", .delay = 200ms});
    InternetTransfer transfer;
    whenRequested(server, pagePath, &transfer, [&receiver] {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::KeyPress, QEvent::User})
            QCoreApplication::postEvent(&receiver, new QEvent(type));
    });

    QVERIFY(transfer.openUrl(server.url(pagePath)).ok());
    QCoreApplication::processEvents();

    // A click made while the window waited must not act once it takes input.
    QCOMPARE(receiver.received, QList<QEvent::Type>{QEvent::User});
}

void TestInternetTransfer::leavingEventLoop_abandonsDownload_data()
{
    QTest::addColumn<bool>("viaQuit");
    QTest::newRow("QCoreApplication::quit") << true;
    QTest::newRow("QCoreApplication::exit") << false;
}

void TestInternetTransfer::leavingEventLoop_abandonsDownload()
{
    QFETCH(bool, viaQuit);
    TestHttpServer server;
    server.serve(pagePath, {.body = "<h2>Montag</h2>", .delay = 5s});
    InternetTransfer transfer;
    std::optional<Download> download;
    whenRequested(server, pagePath, &transfer, [viaQuit] {
        if (viaQuit)
            QCoreApplication::quit();
        else
            QCoreApplication::exit(1);
    });
    // Inside the program's main loop, as when the window's button starts it.
    QTimer::singleShot(0, &transfer, [&] { download = transfer.openUrl(server.url(pagePath)); });
    QCoreApplication::exec();

    QVERIFY(download);
    QCOMPARE(download->error, Download::Error::Interrupted);
    QVERIFY(download->text.isEmpty());
    QVERIFY(!transfer.stillExecuting());
}

void TestInternetTransfer::destroyedDuringWait_returnsFailure()
{
    TestHttpServer server;
    server.serve(pagePath, {.body = "<h2>Montag</h2>", .delay = 5s});
    auto transfer = std::make_unique<InternetTransfer>();
    QObject context;
    whenRequested(server, pagePath, &context, [&transfer] { transfer.reset(); });

    const Download download = transfer->openUrl(server.url(pagePath));

    QVERIFY(!transfer);
    QCOMPARE(download.error, Download::Error::Interrupted);
    QVERIFY(download.text.isEmpty());
}

QTEST_GUILESS_MAIN(TestInternetTransfer)
#include "tst_internettransfer.moc"
