// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/common/cachedweek.h"
#include "tests/common/testfilesystem.h"
#include "tests/common/testhttpserver.h"
#include "tests/ui/mainwindowfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>

using namespace kostwerk::ui;

// Nothing is lost and nothing crashes when the disk or the files misbehave.
namespace {

const QDate tuesday(2026, 12, 8);

// A week page of about 300 KB, far more than the tiny file system holds.
QByteArray bigWeekPage()
{
    QByteArray page = "<h2>Neue Woche</h2><h2>Montag</h2>x<h2>Dienstag, neu</h2>";
    for (int dish = 0; dish < 10000; ++dish)
        page += "<BR>Gericht Nummer " + QByteArray::number(dish);
    return page + "<hr>";
}

// Cache files a reader must refuse at once rather than wait or read for ever.
enum class OddFile { None, Fifo, LinkToDevZero, BeyondCap };

bool makeOddFile(const QString &path, OddFile kind)
{
    QFile file(path);
    if (kind == OddFile::None || !file.remove())
        return kind == OddFile::None;
    if (kind == OddFile::Fifo)
        return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == OddFile::LinkToDevZero)
        return QFile::link(QStringLiteral("/dev/zero"), path);
    return file.open(QIODevice::WriteOnly) && file.resize((qint64(64) << 20) + 1); // sparse: takes no room
}

} // namespace

class TestDiskFaults final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void unwritableCache_keepsNewWeekAndOldFile_data();
    void unwritableCache_keepsNewWeekAndOldFile();
    void cachePathIsFolder_startsEmptyAndSaysSoAfterFetch();
    void damagedFiles_startWithoutCrash_data();
    void damagedFiles_startWithoutCrash();

private:
    QString iniFor(const QString &cacheFile = QStringLiteral("cache.rfk")) const;
    QString heading() const { return m_app->control<QLineEdit>("Ueberschrift")->text(); }
    QString status() const { return m_app->control<QLabel>("status")->text(); }
    void refresh() const { QVERIFY(m_app->refresh()); }

    TestHttpServer m_server;
    std::unique_ptr<MainWindowFixture> m_app;
};

void TestDiskFaults::init()
{
    m_server.serve(QStringLiteral("/00.html"), {200, QByteArrayLiteral("<a href=\"tw.html\">Vom</a>")});
    m_server.serve(QStringLiteral("/tw.html"), {200, bigWeekPage()});
    m_app = std::make_unique<MainWindowFixture>();
}

void TestDiskFaults::cleanup()
{
    m_app.reset();
}

QString TestDiskFaults::iniFor(const QString &cacheFile) const
{
    return u"[Settings]\r\nstartURL="_qs + m_server.url(QStringLiteral("/00.html")) + u"\r\nbasisURL="_qs
           + m_server.url(QStringLiteral("/")) + u"\r\ncacheFile="_qs + cacheFile + u"\r\n"_qs;
}

void TestDiskFaults::unwritableCache_keepsNewWeekAndOldFile_data()
{
    QTest::addColumn<TestFileSystem::Kind>("kind");
    QTest::newRow("read-only program folder") << TestFileSystem::Kind::ReadOnly;
    QTest::newRow("disk full during the write") << TestFileSystem::Kind::Tiny;
}

void TestDiskFaults::unwritableCache_keepsNewWeekAndOldFile()
{
    QFETCH(TestFileSystem::Kind, kind);
    // Without "cacheFile=", whose default start-up writes back.
    const QByteArray ini = iniFor().toLatin1().replace("cacheFile=cache.rfk\r\n", "");
    const TestFileSystem folder(kind, {{u"refekt.ini"_qs, ini}, {u"cache.rfk"_qs, CachedWeek::bytes}});
    if (!folder.isValid())
        QSKIP(qPrintable(TestFileSystem::skipReason()));
    m_app->programFolder = folder.path();

    m_app->start(tuesday);
    QCOMPARE(heading(), u"Dienstag, 08.12."_qs);
    QCOMPARE(status().startsWith(u"Einstellungen nicht gespeichert"_qs), kind == TestFileSystem::Kind::ReadOnly);
    refresh();

    QCOMPARE(heading(), u"Dienstag, neu"_qs);
    QVERIFY(status().startsWith(u"Der Wochenplan konnte nicht in der Cache-Datei gespeichert werden – angezeigt: "_qs));
    QFile cache(folder.filePath(u"cache.rfk"_qs));
    QVERIFY(cache.open(QIODevice::ReadOnly));
    QCOMPARE(cache.readAll(), CachedWeek::bytes);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{u"cache.rfk"_qs, u"refekt.ini"_qs}));
    // Confirmed settings that cannot be kept hold for this run, and the user hears so.
    m_app->choose("settings");
    QTest::mouseClick(m_app->control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(status().startsWith(u"Einstellungen nicht gespeichert"_qs), kind == TestFileSystem::Kind::ReadOnly);
}

void TestDiskFaults::cachePathIsFolder_startsEmptyAndSaysSoAfterFetch()
{
    QVERIFY(m_app->writeFile(u"refekt.ini"_qs, iniFor().toLatin1()));
    QVERIFY(QDir(m_app->dir.path()).mkdir(u"cache.rfk"_qs));

    m_app->start(tuesday);
    QCOMPARE(heading(), u"Keine Daten vorhanden"_qs);
    QVERIFY(!m_app->session->dataLoaded());

    refresh();
    QCOMPARE(heading(), u"Dienstag, neu"_qs);
    QVERIFY(status().startsWith(u"Der Wochenplan konnte nicht in der Cache-Datei gespeichert werden – angezeigt: "_qs));
    QVERIFY(QFileInfo(m_app->dir.filePath(u"cache.rfk"_qs)).isDir());
}

void TestDiskFaults::damagedFiles_startWithoutCrash_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QByteArray>("cache");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("cacheFile");
    QTest::addColumn<QString>("status"); // a part of the status line or of its tooltip as shown
    QTest::addColumn<OddFile>("oddCache");

    const QByteArray goodIni = "[Settings]\r\ncacheFile=cache.rfk\r\n";
    const QString noWeek = u"Die Cache-Datei enthält keinen Wochenplan."_qs;
    const QString unreadable = u"Die Cache-Datei konnte nicht gelesen werden."_qs;
    QTest::newRow("cache truncated mid-line")
        << goodIni << CachedWeek::bytes.left(CachedWeek::bytes.indexOf("Schnitzel") + 3) << u"Dienstag, 08.12."_qs
        << u"cache.rfk"_qs << u"Stand: "_qs << OddFile::None;
    QTest::newRow("cache of binary garbage")
        << goodIni << QByteArray("\x00\xff\xfe\r\n\x89PNG\r\n\x1a\n\x00\x00", 16) << u"Keine Daten vorhanden"_qs
        << u"cache.rfk"_qs << noWeek << OddFile::None;
    QTest::newRow("cache of the marker line only")
        << goodIni << QByteArray("<neuer abschnitt>\r\n") << u"Keine Daten vorhanden"_qs << u"cache.rfk"_qs << noWeek
        << OddFile::None;
    QTest::newRow("cache of a title only") << goodIni << CachedWeek::bytes.left(CachedWeek::bytes.indexOf("<neuer", 1))
                                           << u"Keine Daten vorhanden"_qs << u"cache.rfk"_qs << noWeek << OddFile::None;
    QTest::newRow("empty cache") << goodIni << QByteArray() << u"Keine Daten vorhanden"_qs << u"cache.rfk"_qs << noWeek
                                 << OddFile::None;
    QTest::newRow("cache is a FIFO") << goodIni << QByteArray() << u"Keine Daten vorhanden"_qs << u"cache.rfk"_qs
                                     << unreadable << OddFile::Fifo;
    QTest::newRow("cache linked to /dev/zero")
        << goodIni << QByteArray() << u"Keine Daten vorhanden"_qs << u"cache.rfk"_qs
        << u"Cachefile „cache.rfk“ nicht verwendbar"_qs << OddFile::LinkToDevZero;
    QTest::newRow("cache beyond 64 MiB") << goodIni << QByteArray() << u"Keine Daten vorhanden"_qs << u"cache.rfk"_qs
                                         << unreadable << OddFile::BeyondCap;
    QTest::newRow("settings of binary garbage")
        << QByteArray("\x7f"
                      "ELF\x02\x01\x00[\xff=\x00\n=\r\r\n[",
                      16)
        << CachedWeek::bytes << u"Dienstag, 08.12."_qs << u"cache.rfk"_qs << u"Stand: "_qs << OddFile::None;
    QTest::newRow("settings with a line of a megabyte")
        << ("[Settings]\r\nstartURL=" + QByteArray(1 << 20, 'u') + "\r\ncacheFile=cache.rfk\r\n") << CachedWeek::bytes
        << u"Dienstag, 08.12."_qs << u"cache.rfk"_qs << u"Stand: "_qs << OddFile::None;
    QTest::newRow("cache name out of the folder, set aside")
        << QByteArray("[Settings]\r\ncacheFile=../cache.rfk\r\n") << CachedWeek::bytes << u"Dienstag, 08.12."_qs
        << u"cache.rfk"_qs << u"Cachefile aus refekt.ini nicht verwendet"_qs << OddFile::None;
    QTest::newRow("cache name with markup, set aside, shown as it is")
        << QByteArray("[Settings]\r\ncacheFile=../<b>fett</b>.rfk\r\n") << CachedWeek::bytes << u"Dienstag, 08.12."_qs
        << u"cache.rfk"_qs << u"(cacheFile=../<b>fett</b>.rfk)"_qs << OddFile::None;
}

void TestDiskFaults::damagedFiles_startWithoutCrash()
{
    QFETCH(QByteArray, ini);
    QFETCH(QByteArray, cache);
    QFETCH(QString, heading);
    QFETCH(QString, cacheFile);
    QFETCH(QString, status);
    QFETCH(OddFile, oddCache);
    QVERIFY(m_app->writeFile(u"refekt.ini"_qs, ini));
    QVERIFY(m_app->writeFile(u"cache.rfk"_qs, cache));
    QVERIFY(makeOddFile(m_app->dir.filePath(u"cache.rfk"_qs), oddCache));

    m_app->start(tuesday);

    QCOMPARE(this->heading(), heading);
    QCOMPARE(m_app->session->settings().cacheFile, cacheFile);
    const QString shown = this->status() + u'\n' + m_app->shownToolTip();
    QVERIFY2(shown.contains(status), qPrintable(shown));
    QVERIFY(m_app->session->settings().startURL.size() <= 254);
    // The settings file keeps what it held; only missing keys were added.
    QVERIFY(m_app->readFile(u"refekt.ini"_qs).startsWith(ini));
}

QTEST_MAIN(TestDiskFaults)
#include "tst_diskfaults.moc"
