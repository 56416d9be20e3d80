// SPDX-License-Identifier: GPL-3.0-or-later

#include "generated/buildconfig.h"
#include "settings/settings.h"
#include "tests/common/testfilesystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace kostwerk::settings;

class TestSettingsStore final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dataFolder_followsWritability_data();
    void dataFolder_followsWritability();
    void dataFolder_ofTheInstalledProgram_isTheUsers();
    void appPath_hasOneTrailingSeparator_data();
    void appPath_hasOneTrailingSeparator();
    void firstStart_writesAllDefaults();
    void emptyValue_getsDefault_othersKeptUpTo254();
    void save_writesInOrder_andEmptyBecomesDefaultAtNextStart();
    void cacheFileProblem_keepsTheCacheInItsFolderAndOffOtherFiles_data();
    void cacheFileProblem_keepsTheCacheInItsFolderAndOffOtherFiles();

private:
    QTemporaryDir m_dir;
    QByteArray iniBytes() const;
};

void TestSettingsStore::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("kostwerk"));
    QStandardPaths::setTestModeEnabled(true);
}

void TestSettingsStore::dataFolder_followsWritability_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("holdsIni");
    QTest::addColumn<bool>("usesProgramFolder");
    QTest::newRow("writable program folder") << false << false << true;
    QTest::newRow("read-only install") << true << false << false;
    QTest::newRow("read-only portable install with its settings") << true << true << true;
}

void TestSettingsStore::dataFolder_followsWritability()
{
    QFETCH(bool, readOnly);
    QFETCH(bool, holdsIni);
    QFETCH(bool, usesProgramFolder);

    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir(perUser).removeRecursively();
    QList<std::pair<QString, QByteArray>> files;
    if (holdsIni)
        files.append({QStringLiteral("refekt.ini"), QByteArrayLiteral("[Settings]\r\ncacheFile=portabel.rfk\r\n")});
    std::optional<TestFileSystem> locked;
    QTemporaryDir writable;
    QString programFolder = writable.path();
    if (readOnly) {
        locked.emplace(TestFileSystem::Kind::ReadOnly, files);
        if (!locked->isValid())
            QSKIP(qPrintable(TestFileSystem::skipReason()));
        programFolder = locked->path();
    }

    const Settings settings = SettingsStore::load(programFolder).settings;

    const QString expectedFolder = usesProgramFolder ? programFolder : perUser;
    QCOMPARE(settings.appPath, SettingsStore::appPathFor(expectedFolder));
    QCOMPARE(settings.cacheFile, holdsIni ? u"portabel.rfk"_qs : u"cache.rfk"_qs);
    if (!readOnly || !usesProgramFolder)
        QCOMPARE(SettingsStore::readIni(settings.iniPath, QStringLiteral("Settings"), QStringLiteral("startURL")),
                 settings.startURL);
}

void TestSettingsStore::dataFolder_ofTheInstalledProgram_isTheUsers()
{
    // Installed under another prefix, as `cmake --install --prefix` lays it out.
    const QString otherPrefix = m_dir.filePath(QStringLiteral("prefix/bin"));
    const QString copyright = otherPrefix + u'/' + QLatin1StringView(kostwerk::BuildConfig::copyrightFromProgramFolder);
    QVERIFY(QDir().mkpath(otherPrefix) && QDir().mkpath(QFileInfo(copyright).path()));
    QVERIFY(QFile(copyright).open(QIODevice::WriteOnly));
    // Both writable for root, which must not put its settings beside the program.
    for (const QString &installed : {otherPrefix, QStringLiteral("/usr/local/bin")}) {
        if (QFileInfo::exists(installed + u"/refekt.ini"))
            QSKIP("a portable settings file lies in the install folder");
        QCOMPARE(SettingsStore::dataFolder(installed),
                 QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/kostwerk");
    }
}

QByteArray TestSettingsStore::iniBytes() const
{
    QFile file(m_dir.filePath(QStringLiteral("refekt.ini")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestSettingsStore::appPath_hasOneTrailingSeparator_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("appPath");
    QTest::newRow("plain folder") << "/opt/kostwerk"
                                  << "/opt/kostwerk/";
    QTest::newRow("root") << "/"
                          << "/";
    QTest::newRow("already ends in a separator") << "/opt/kostwerk/"
                                                 << "/opt/kostwerk/";
}

void TestSettingsStore::appPath_hasOneTrailingSeparator()
{
    QFETCH(QString, folder);
    QFETCH(QString, appPath);
    QCOMPARE(SettingsStore::appPathFor(folder), appPath);
    QCOMPARE(SettingsStore::load(m_dir.path()).settings.iniPath,
             SettingsStore::appPathFor(m_dir.path()) + u"refekt.ini");
}

void TestSettingsStore::firstStart_writesAllDefaults()
{
    QFile::remove(m_dir.filePath(QStringLiteral("refekt.ini")));
    const Settings settings = SettingsStore::load(m_dir.path()).settings;

    const QString host = QLatin1StringView(kostwerk::BuildConfig::menuHost);
    QCOMPARE(settings.startURL, u"http://" + host + u"/uni/refekt/00.html");
    QCOMPARE(settings.basisURL, u"http://" + host + u"/uni/refekt/");
    QCOMPARE(settings.cacheFile, QStringLiteral("cache.rfk"));
    QCOMPARE(settings.cacheLocation().path(), m_dir.filePath(QStringLiteral("cache.rfk")));
    QCOMPARE(iniBytes(),
             QByteArray("[Settings]\r\nstartURL=http://" + QByteArray(kostwerk::BuildConfig::menuHost)
                        + "/uni/refekt/00.html\r\nbasisURL=http://" + QByteArray(kostwerk::BuildConfig::menuHost)
                        + "/uni/refekt/\r\ncacheFile=cache.rfk\r\n"));
    QCOMPARE(SettingsStore::hasPlaceholderStart(settings), host.endsWith(u".example"));
    Settings otherPage = settings;
    otherPage.startURL += u'#';
    QVERIFY(!SettingsStore::hasPlaceholderStart(otherPage));
}

void TestSettingsStore::emptyValue_getsDefault_othersKeptUpTo254()
{
    QFile file(m_dir.filePath(QStringLiteral("refekt.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray longBasis = "http://b.example/" + QByteArray(300, 'x');
    file.write("[Settings]\r\nstartURL=\r\nbasisURL=" + longBasis + "\r\ncacheFile=woche.rfk\r\n");
    file.close();

    const Settings settings = SettingsStore::load(m_dir.path()).settings;
    QCOMPARE(settings.startURL, SettingsStore::defaultStartURL());
    QCOMPARE(settings.basisURL, QString::fromLatin1(longBasis.left(254)));
    QCOMPARE(settings.cacheFile, QStringLiteral("woche.rfk"));
    QCOMPARE(iniBytes(), "[Settings]\r\nstartURL=" + SettingsStore::defaultStartURL().toLatin1()
                             + "\r\nbasisURL=" + longBasis + "\r\ncacheFile=woche.rfk\r\n");
}

void TestSettingsStore::save_writesInOrder_andEmptyBecomesDefaultAtNextStart()
{
    QFile::remove(m_dir.filePath(QStringLiteral("refekt.ini")));
    Settings settings;
    settings.appPath = SettingsStore::appPathFor(m_dir.path());
    settings.iniPath = settings.appPath + u"refekt.ini";
    settings.startURL = QStringLiteral("http://s.example/");
    settings.basisURL = QStringLiteral("http://b.example/");
    settings.cacheFile = QString();
    QVERIFY(SettingsStore::save(settings));
    QCOMPARE(iniBytes(), QByteArray("[Settings]\r\nbasisURL=http://b.example/\r\n"
                                    "startURL=http://s.example/\r\ncacheFile=\r\nautoFetch=0\r\n"));

    const Settings next = SettingsStore::load(m_dir.path()).settings;
    QCOMPARE(next.startURL, settings.startURL);
    QCOMPARE(next.cacheFile, SettingsStore::defaultCacheFile());
    QCOMPARE(SettingsStore::readIni(next.iniPath, QStringLiteral("Settings"), QStringLiteral("cacheFile")),
             QStringLiteral("cache.rfk"));
}

void TestSettingsStore::cacheFileProblem_keepsTheCacheInItsFolderAndOffOtherFiles_data()
{
    QTest::addColumn<QString>("cacheFile");
    QTest::addColumn<CacheFileProblem>("problem");
    using Kind = CacheFileProblem::Kind;
    const CacheFileProblem parentStep{Kind::OutOfFolder, {kostwerk::platform::FileFailure::Kind::ParentStep, {}}};
    const CacheFileProblem link{Kind::OutOfFolder, {kostwerk::platform::FileFailure::Kind::Link, {}}};
    QTest::newRow("plain name") << "cache.rfk" << CacheFileProblem{};
    QTest::newRow("in a subfolder") << "woche/cache.rfk" << CacheFileProblem{};
    QTest::newRow("a name beginning with two dots") << "..cache.rfk" << CacheFileProblem{};
    QTest::newRow("absolute path") << "/tmp/cache.rfk" << CacheFileProblem{Kind::AbsolutePath, {}};
    QTest::newRow("out of the folder") << "../cache.rfk" << parentStep;
    QTest::newRow("out and back in") << "woche/../cache.rfk" << parentStep;
    QTest::newRow("the settings file in other case") << "Refekt.INI" << CacheFileProblem{Kind::SettingsFile, {}};
    QTest::newRow("the settings file by another way") << "./refekt.ini" << CacheFileProblem{Kind::SettingsFile, {}};
    QTest::newRow("a link to the settings file") << "einstellungen" << CacheFileProblem{Kind::SettingsFile, {}};
    QTest::newRow("a link to the program") << "programm" << CacheFileProblem{Kind::ProgramFile, {}};
    QTest::newRow("a dangling link") << "woanders.rfk" << link;
    QTest::newRow("in a linked folder") << "verlinkt/cache.rfk" << link;
}

void TestSettingsStore::cacheFileProblem_keepsTheCacheInItsFolderAndOffOtherFiles()
{
    QFETCH(QString, cacheFile);
    QFETCH(CacheFileProblem, problem);
    const QTemporaryDir folder;
    const Settings settings = SettingsStore::read(folder.filePath(u"refekt.ini"_qs));
    const QString program = QCoreApplication::applicationFilePath();
    QVERIFY(QFile(settings.iniPath).open(QIODevice::WriteOnly));
    QVERIFY(QFile::link(settings.iniPath, folder.filePath(u"einstellungen"_qs)));
    QVERIFY(QFile::link(program, folder.filePath(u"programm"_qs)));
    QVERIFY(QFile::link(u"../woanders.rfk"_qs, folder.filePath(u"woanders.rfk"_qs)));
    QVERIFY(QFile::link(QDir::tempPath(), folder.filePath(u"verlinkt"_qs)));
    QCOMPARE(SettingsStore::cacheFileProblem(settings, cacheFile, program), problem);
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
