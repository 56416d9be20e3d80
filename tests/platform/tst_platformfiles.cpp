// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/atomicfile.h"
#include "platform/fileaccess.h"
#include "platform/profilefile.h"
#include "tests/common/filesizelimit.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace kostwerk::platform;

namespace {

// text in that encoding, after its byte order mark.
QByteArray utf16(QStringConverter::Encoding encoding, const QString &text)
{
    return QStringEncoder(encoding, QStringConverter::Flag::WriteBom).encode(text);
}

QString readIni(const QString &file, const QString &section, const QString &key)
{
    return ProfileFile::readString(file, section, key);
}

bool writeIni(const QString &file, const QString &section, const QString &key, const QString &value)
{
    return ProfileFile::writeString(file, section, key, value).ok();
}

} // namespace

class TestPlatformFiles final : public QObject
{
    Q_OBJECT

private slots:
    void readIni_handEditedFile_data();
    void readIni_handEditedFile();
    void readIni_missingFileOrSection_givesEmpty();
    void writeIni_changesOnlyItsLine_data();
    void writeIni_changesOnlyItsLine();
    void writeIni_valueReadsBack_data();
    void writeIni_valueReadsBack();
    void writeIni_failedWrite_failsAndKeepsFile();
    void fileExists_data();
    void fileExists();
    void writeFile_removesOnlyOldLeftovers_data();
    void writeFile_removesOnlyOldLeftovers();

private:
    QString writeFile(const QByteArray &bytes);
    QByteArray contents() const;

    QTemporaryDir m_dir;
    QString m_ini;
};

QString TestPlatformFiles::writeFile(const QByteArray &bytes)
{
    m_ini = m_dir.filePath(QStringLiteral("refekt.ini"));
    QFile file(m_ini);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test file");
    return m_ini;
}

QByteArray TestPlatformFiles::contents() const
{
    QFile file(m_ini);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void TestPlatformFiles::readIni_handEditedFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray handEdited = "; Kostwerk settings\n"
                                  "[Other]\n"
                                  "startURL=wrong section\n"
                                  "  [ settings ]  \n"
                                  "; startURL=commented out\n"
                                  "  StartUrl   =   http://a.example/x.html   \n"
                                  "startURL=second duplicate\n"
                                  "basisURL=\"http://a.example/\"\n"
                                  "cacheFile='my cache.rfk'\n"
                                  "quoted=\"unbalanced'\n"
                                  "empty=\n"
                                  "umlaut=Gr\xfc\xdf"
                                  "e\n";
    QTest::newRow("any case, blanks around key and value") << handEdited << "startURL"
                                                           << "http://a.example/x.html";
    QTest::newRow("double quotes removed") << handEdited << "BASISURL"
                                           << "http://a.example/";
    QTest::newRow("single quotes removed") << handEdited << "cachefile"
                                           << "my cache.rfk";
    QTest::newRow("unmatched quotes kept") << handEdited << "quoted"
                                           << "\"unbalanced'";
    QTest::newRow("empty value") << handEdited << "empty"
                                 << "";
    QTest::newRow("Windows-1252 text") << handEdited << "umlaut"
                                       << "Grüße";
    QTest::newRow("missing key") << handEdited << "nothing"
                                 << "";
    QTest::newRow("CR LF line ends") << QByteArray("[Settings]\r\nstartURL=a\r\nbasisURL=b\r\n") << "basisURL"
                                     << "b";
    QTest::newRow("lone CR line ends") << QByteArray("[Settings]\rstartURL=a\rbasisURL=b") << "basisURL"
                                       << "b";
    QTest::newRow("key before any section") << QByteArray("startURL=a\n[Settings]\n") << "startURL"
                                            << "";
    QTest::newRow("only the first of two sections counts")
        << QByteArray("[Settings]\nbasisURL=b\n[Settings]\nstartURL=second\n") << "startURL"
        << "";
    QTest::newRow("binary garbage") << QByteArray("\x00\xff[\x01=\n\x00=\x02", 10) << "startURL"
                                    << "";
    QTest::newRow("UTF-8 after a byte order mark") << QByteArray("\xef\xbb\xbf[Settings]\nk=Gr\xc3\xbc\xc3\x9f"
                                                                 "e")
                                                   << "k"
                                                   << "Grüße";
    QTest::newRow("UTF-16 BE after a byte order mark")
        << utf16(QStringConverter::Utf16BE, u"[Settings]\nk=Grüße"_qs) << "k"
        << "Grüße";
    QTest::newRow("\"[\" without \"]\" is no header") << QByteArray("[Settings]\n[Other\nk=a\n") << "k"
                                                      << "a";
    QTest::newRow("header name runs to the last \"]\"") << QByteArray("[Settings]x]\nk=a\n") << "k"
                                                        << "";
}

void TestPlatformFiles::readIni_handEditedFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(readIni(writeFile(file), QStringLiteral("Settings"), key), expected);
}

void TestPlatformFiles::readIni_missingFileOrSection_givesEmpty()
{
    const QString missing = m_dir.filePath(QStringLiteral("missing.ini"));
    QCOMPARE(readIni(missing, QStringLiteral("Settings"), QStringLiteral("startURL")), QString());
    QVERIFY(!QFile::exists(missing));
    writeFile("[Other]\r\nstartURL=a\r\n");
    QCOMPARE(readIni(m_ini, QStringLiteral("Settings"), QStringLiteral("startURL")), QString());
    // A FIFO is never waited on: it reads as empty and stays.
    const QString fifo = m_dir.filePath(QStringLiteral("fifo.ini"));
    QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    QCOMPARE(readIni(fifo, QStringLiteral("Settings"), QStringLiteral("startURL")), QString());
    QVERIFY(!writeIni(fifo, QStringLiteral("Settings"), QStringLiteral("startURL"), QStringLiteral("a")));
}

void TestPlatformFiles::writeIni_changesOnlyItsLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file") << QByteArray() << "startURL"
                              << "http://a.example/" << QByteArray("[Settings]\r\nstartURL=http://a.example/\r\n");
    QTest::newRow("changed key keeps its spelling and the other lines")
        << QByteArray("; note\r\n[SETTINGS]\r\n  STARTurl = old \r\nextra=1\r\n[Other]\r\nstartURL=x\r\n") << "startURL"
        << "new" << QByteArray("; note\r\n[SETTINGS]\r\nSTARTurl=new\r\nextra=1\r\n[Other]\r\nstartURL=x\r\n");
    QTest::newRow("new key after the section's last key")
        << QByteArray("[Settings]\r\na=1\r\n; trailing comment\r\n\r\n[Other]\r\nb=2\r\n") << "cacheFile"
        << "c.rfk"
        << QByteArray("[Settings]\r\na=1\r\ncacheFile=c.rfk\r\n; trailing comment\r\n\r\n[Other]\r\nb=2\r\n");
    QTest::newRow("new key in a section without keys") << QByteArray("[Settings]\r\n[Other]\r\n") << "k"
                                                       << "v" << QByteArray("[Settings]\r\nk=v\r\n[Other]\r\n");
    QTest::newRow("new section at the end of a file without final line end")
        << QByteArray("[Other]\nb=2") << "k"
        << "v" << QByteArray("[Other]\nb=2\n[Settings]\nk=v\n");
    QTest::newRow("empty value") << QByteArray("[Settings]\r\nk=v\r\n") << "k"
                                 << "" << QByteArray("[Settings]\r\nk=\r\n");
    QTest::newRow("first duplicate is changed") << QByteArray("[Settings]\r\nk=1\r\nk=2\r\n") << "K"
                                                << "3" << QByteArray("[Settings]\r\nk=3\r\nk=2\r\n");
    QTest::newRow("Windows-1252 out, unknown bytes kept") << QByteArray("[Settings]\r\nraw=\x81\x8d\r\n") << "k"
                                                          << "Grüße"
                                                          << QByteArray("[Settings]\r\nraw=\x81\x8d\r\nk=Gr\xfc\xdf"
                                                                        "e\r\n");
    QTest::newRow("UTF-8 out after a byte order mark") << QByteArray("\xef\xbb\xbf[Settings]\n") << "k"
                                                       << "Grüße"
                                                       << QByteArray("\xef\xbb\xbf[Settings]\nk=Gr\xc3\xbc\xc3\x9f"
                                                                     "e\n");
    QTest::newRow("UTF-16 LE out after a byte order mark, an odd last byte kept")
        << utf16(QStringConverter::Utf16LE, u"[Settings]\r\nk=alt"_qs) + 'x' << "k"
        << "Grüße–€–日本" << utf16(QStringConverter::Utf16LE, u"[Settings]\r\nk=Grüße–€–日本"_qs) + 'x';
}

void TestPlatformFiles::writeIni_changesOnlyItsLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    if (before.isEmpty())
        m_ini = m_dir.filePath(QStringLiteral("new.ini"));
    else
        writeFile(before);
    QVERIFY(writeIni(m_ini, QStringLiteral("Settings"), key, value));
    QCOMPARE(contents(), after);
    QFile::remove(m_ini);
}

void TestPlatformFiles::writeIni_valueReadsBack_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("url") << "http://mensa.example/uni/refekt/00.html?a=b;c=d";
    QTest::newRow("equals sign and semicolon") << "a=b ; c";
    QTest::newRow("umlauts") << "Küche ÄÖÜß €";
    QTest::newRow("254 characters") << QString(254, u'z');
}

void TestPlatformFiles::writeIni_valueReadsBack()
{
    QFETCH(QString, value);
    writeFile("[Settings]\r\nk=old\r\n");
    QVERIFY(writeIni(m_ini, QStringLiteral("Settings"), QStringLiteral("k"), value));
    QCOMPARE(readIni(m_ini, QStringLiteral("settings"), QStringLiteral("K")), value);
}

void TestPlatformFiles::writeIni_failedWrite_failsAndKeepsFile()
{
    const QByteArray before("[Settings]\r\nk=old\r\n");
    writeFile(before);
    {
        const FileSizeLimit diskFull(1024);
        QVERIFY(!writeIni(m_ini, QStringLiteral("Settings"), QStringLiteral("k"), QString(5000, u'x')));
    }
    QCOMPARE(contents(), before);
    // A line break in a value would put a line of its own into the file,
    // and a character beyond Windows-1252 would be saved as "?".
    QVERIFY(!writeIni(m_ini, QStringLiteral("Settings"), QStringLiteral("k"), QStringLiteral("a\nstartURL=b")));
    QVERIFY(!writeIni(m_ini, QStringLiteral("Settings"), QStringLiteral("k"), QStringLiteral("Wochenplan–€–日本.rfk")));
    QCOMPARE(contents(), before);

    // Nor is a file that a link at the settings file's name leads to.
    const QString elsewhere = m_dir.filePath(QStringLiteral("elsewhere.txt"));
    QVERIFY(QFile::copy(m_ini, elsewhere) && QFile::link(elsewhere, m_dir.filePath(QStringLiteral("link.ini"))));
    QVERIFY(!writeIni(m_dir.filePath(QStringLiteral("link.ini")), QStringLiteral("Settings"), QStringLiteral("k"),
                      QStringLiteral("v")));
    m_ini = elsewhere;
    QCOMPARE(contents(), before);

    // A settings path that names a folder is neither read nor replaced.
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.ini")));
    QVERIFY(!writeIni(m_dir.filePath(QStringLiteral("folder.ini")), QStringLiteral("Settings"), QStringLiteral("k"),
                      QStringLiteral("v")));
}

void TestPlatformFiles::fileExists_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("exists");
    QTest::newRow("file") << "cache.rfk" << true;
    QTest::newRow("hidden file") << ".hidden" << true;
    QTest::newRow("read-only file") << "readonly" << true;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("missing") << "missing" << false;
    QTest::newRow("empty path") << "" << false;
    QTest::newRow("path through a file") << "cache.rfk/inner" << false;
}

void TestPlatformFiles::fileExists()
{
    QFETCH(QString, name);
    QFETCH(bool, exists);
    for (const char *file : {"cache.rfk", ".hidden", "readonly"}) {
        QFile f(m_dir.filePath(QLatin1StringView(file)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QFile::setPermissions(m_dir.filePath(QStringLiteral("readonly")), QFile::ReadOwner);
    QDir(m_dir.path()).mkpath(QStringLiteral("folder"));
    QCOMPARE(::fileExists(name.isEmpty() ? name : m_dir.filePath(name)), exists);
}

void TestPlatformFiles::writeFile_removesOnlyOldLeftovers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("age"); // in seconds
    QTest::addColumn<bool>("removed");
    QTest::newRow("leftover of a killed write") << "cache.rfk.kostwerk-1x9z3k" << 120 << true;
    QTest::newRow("a write still running") << "cache.rfk.kostwerk-1x9z3k" << 0 << false;
    QTest::newRow("the user's backup") << "cache.rfk.bak" << 120 << false;
}

void TestPlatformFiles::writeFile_removesOnlyOldLeftovers()
{
    QFETCH(QString, name);
    QFETCH(int, age);
    QFETCH(bool, removed);
    const QTemporaryDir folder;
    QFile leftover(folder.filePath(name));
    QVERIFY(leftover.open(QIODevice::WriteOnly)
            && leftover.setFileTime(QDateTime::currentDateTime().addSecs(-age), QFileDevice::FileModificationTime));

    QVERIFY(writeFileAtomically({folder.path(), u"cache.rfk"_qs}, "neu"));

    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).contains(name), !removed);
}

QTEST_GUILESS_MAIN(TestPlatformFiles)
#include "tst_platformfiles.moc"
