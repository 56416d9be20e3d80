// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/cachefile.h"
#include "tests/common/filesizelimit.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kostwerk::core;
using kostwerk::platform::FileFailure;
using kostwerk::platform::PathBelow;

class TestCacheFile final : public QObject
{
    Q_OBJECT

private slots:
    void encode_data();
    void encode();
    void decode_data();
    void decode();
    void roundTrip_addsOneLeadingLineBreak_data();
    void roundTrip_addsOneLeadingLineBreak();
    void writeCache_replacesFileCompletely();
    void writeCache_emptyWeek_keepsOldFile();
    void writeCache_failedWrite_keepsOldFile();
    void otherThanCache_isNeitherWrittenNorRead_data();
    void otherThanCache_isNeitherWrittenNorRead();
    void loadCache_unreadable_givesNothing();

private:
    PathBelow path(const char *name) const { return {m_dir.path(), QLatin1StringView(name)}; }
    static QByteArray read(const PathBelow &file);
    // Every entry below folder, links not followed: a file's bytes, a link's target.
    static QMap<QString, QByteArray> snapshot(const QString &folder);
    QTemporaryDir m_dir;
};

QByteArray TestCacheFile::read(const PathBelow &file)
{
    QFile in(file.path());
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<unreadable>");
}

QMap<QString, QByteArray> TestCacheFile::snapshot(const QString &folder)
{
    QMap<QString, QByteArray> entries;
    for (QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QFileInfo entry = it.nextFileInfo();
        QFile file(entry.filePath());
        entries.insert(entry.filePath(), entry.isSymLink()                ? entry.symLinkTarget().toUtf8()
                                         : file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                          : QByteArray("<folder>"));
    }
    return entries;
}

void TestCacheFile::encode_data()
{
    QTest::addColumn<WeekPlan>("weekPlan");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("word, and two lines with a comma")
        << WeekPlan{u"Woche"_qs, u"Montag, 7.12.\r\nMen\u00fc I"_qs}
        << QByteArray("<neuer abschnitt>\r\nWoche\r\n<neuer abschnitt>\r\nMontag;;; 7.12.\r\nMen\xfc I\r\n");
    QTest::newRow("trailing line break is an empty line")
        << WeekPlan{u"a\r\n"_qs} << QByteArray("<neuer abschnitt>\r\na\r\n\r\n");
    QTest::newRow("empty section") << WeekPlan{QString()} << QByteArray("<neuer abschnitt>\r\n\r\n");
    QTest::newRow("outside Windows-1252: UTF-8 with BOM")
        << WeekPlan{u"Pierogi \u0141\u00f3d\u017a, \u20ac"_qs}
        << QByteArray("\xef\xbb\xbf<neuer abschnitt>\r\nPierogi \xc5\x81\xc3\xb3"
                      "d\xc5\xba;;; \xe2\x82\xac\r\n");
    QTest::newRow("empty week") << WeekPlan{} << QByteArray();
}

void TestCacheFile::encode()
{
    QFETCH(WeekPlan, weekPlan);
    QFETCH(QByteArray, bytes);
    QCOMPARE(CacheFile::encode(weekPlan), bytes);
}

void TestCacheFile::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<WeekPlan>("weekPlan");
    QTest::newRow("five lines")
        << QByteArray("<neuer abschnitt>\r\nWoche\r\n<neuer abschnitt>\r\nMontag;;; 7.12.\r\nMen\xfc I\r\n")
        << WeekPlan{u"\r\nWoche"_qs, u"\r\nMontag, 7.12.\r\nMen\u00fc I"_qs};
    QTest::newRow("LF line ends and no final line end")
        << QByteArray("<neuer abschnitt>\na\nb") << WeekPlan{u"\r\na\r\nb"_qs};
    QTest::newRow("two markers in a row give an empty section")
        << QByteArray("<neuer abschnitt>\r\n<neuer abschnitt>\r\nx\r\n") << WeekPlan{QString(), u"\r\nx"_qs};
    QTest::newRow("marker with a blank or in other case is text")
        << QByteArray("<neuer abschnitt>\r\n<neuer abschnitt> \r\n<Neuer Abschnitt>\r\n")
        << WeekPlan{u"\r\n<neuer abschnitt> \r\n<Neuer Abschnitt>"_qs};
    QTest::newRow("lines before the first marker are ignored")
        << QByteArray("stray\r\n\r\n<neuer abschnitt>\r\nx\r\n") << WeekPlan{u"\r\nx"_qs};
    QTest::newRow("leading blanks and quotes are kept")
        << QByteArray("<neuer abschnitt>\r\n  \"zitiert\", sagt er\r\n") << WeekPlan{u"\r\n  \"zitiert\", sagt er"_qs};
    QTest::newRow("empty file") << QByteArray() << WeekPlan{};
    QTest::newRow("no marker at all") << QByteArray("\x00\xff\x01garbage\n", 11) << WeekPlan{};
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xef\xbb\xbf<neuer abschnitt>\r\n\xc5\x81\xc3\xb3"
                                                  "d\xc5\xba\r\n")
                                    << WeekPlan{u"\r\n\u0141\u00f3d\u017a"_qs};
    QTest::newRow("truncated mid-line") << QByteArray("<neuer abschnitt>\r\nWoche\r\n<neuer abs")
                                        << WeekPlan{u"\r\nWoche\r\n<neuer abs"_qs};
}

void TestCacheFile::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(WeekPlan, weekPlan);
    QCOMPARE(CacheFile::decode(bytes), weekPlan);
}

void TestCacheFile::roundTrip_addsOneLeadingLineBreak_data()
{
    QTest::addColumn<WeekPlan>("weekPlan");
    QTest::newRow("fetched week") << WeekPlan{u"Speiseplan"_qs, u"Montag\r\nMen\u00fc I\r\nSchnitzel, Pommes\r\n"_qs};
    QTest::newRow("empty lines inside") << WeekPlan{u"a\r\n\r\n\r\nb"_qs};
    QTest::newRow("outside Windows-1252") << WeekPlan{u"\u0416 \U0001F35D"_qs, u"x"_qs};
    // Catches a cache that keeps only what the window and printouts show.
    QTest::newRow("a run of 3 MB, 100,000 short lines")
        << WeekPlan{u"Speiseplan"_qs, QString(3'000'000, u'x') + u"\r\nBrot"_qs.repeated(100'000)};
}

void TestCacheFile::roundTrip_addsOneLeadingLineBreak()
{
    QFETCH(WeekPlan, weekPlan);
    const PathBelow file = path("roundtrip.rfk");
    QVERIFY(writeCache(file, weekPlan));
    const LoadedCache back = loadCache(file);
    QVERIFY(back.ok());
    QCOMPARE(back.weekPlan.size(), weekPlan.size());
    for (qsizetype i = 0; i < weekPlan.size(); ++i)
        QCOMPARE(back.weekPlan.at(i), lineBreak + weekPlan.at(i));
}

void TestCacheFile::writeCache_replacesFileCompletely()
{
    const PathBelow file = path("replace.rfk");
    QVERIFY(writeCache(file, WeekPlan{QString(5000, u'x'), u"b"_qs}));
    QVERIFY(writeCache(file, WeekPlan{u"c"_qs}));
    QCOMPARE(read(file), QByteArray("<neuer abschnitt>\r\nc\r\n"));
}

void TestCacheFile::writeCache_emptyWeek_keepsOldFile()
{
    const PathBelow file = path("keep.rfk");
    QVERIFY(writeCache(file, WeekPlan{u"old"_qs}));
    QVERIFY(writeCache(file, WeekPlan{}));
    QCOMPARE(read(file), QByteArray("<neuer abschnitt>\r\nold\r\n"));
    QVERIFY(writeCache(path("never.rfk"), WeekPlan{}));
    QVERIFY(!QFile::exists(path("never.rfk").path()));
}

void TestCacheFile::writeCache_failedWrite_keepsOldFile()
{
    const PathBelow file = path("full.rfk");
    QVERIFY(writeCache(file, WeekPlan{u"old"_qs}));
    const QByteArray before = read(file);
    {
        const FileSizeLimit diskFull(4096);
        QVERIFY(!writeCache(file, WeekPlan{QString(100000, u'n')}));
    }
    QCOMPARE(read(file), before);
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("full.rfk*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("full.rfk")});
}

void TestCacheFile::otherThanCache_isNeitherWrittenNorRead_data()
{
    QTest::addColumn<QString>("name");       // the cache's name below the settings folder
    QTest::addColumn<QString>("linkTarget"); // of a link made at the name's first step; ABS/ stands for the root
    QTest::addColumn<FileFailure::Kind>("writing");
    QTest::addColumn<FileFailure::Kind>("reading");
    using Kind = FileFailure::Kind;
    // A folder is no cache to read (as for fileExists), and is not written over.
    QTest::newRow("folder") << "folder.rfk" << QString() << Kind::NotRegularFile << Kind::Missing;
    QTest::newRow("missing folder on the way") << "missing/cache.rfk" << QString() << Kind::Missing << Kind::Missing;
    QTest::newRow("another file") << "notes.txt" << QString() << Kind::ForeignFile << Kind::None;
    QTest::newRow("dangling link out of the folder") << "cache.rfk"
                                                     << "../elsewhere/new.rfk" << Kind::Link << Kind::Link;
    QTest::newRow("dangling absolute link") << "cache.rfk"
                                            << "ABS/elsewhere/new.rfk" << Kind::Link << Kind::Link;
    QTest::newRow("link to an empty file elsewhere") << "cache.rfk"
                                                     << "../elsewhere/empty.rfk" << Kind::Link << Kind::Link;
    QTest::newRow("link to a cache file elsewhere") << "cache.rfk"
                                                    << "../elsewhere/cache.rfk" << Kind::Link << Kind::Link;
    QTest::newRow("linked subfolder") << "sub/cache.rfk"
                                      << "../elsewhere" << Kind::Link << Kind::Link;
    QTest::newRow("\"..\" out of the folder")
        << "../elsewhere/cache.rfk" << QString() << Kind::ParentStep << Kind::ParentStep;
}

void TestCacheFile::otherThanCache_isNeitherWrittenNorRead()
{
    QFETCH(QString, name);
    QFETCH(QString, linkTarget);
    QFETCH(FileFailure::Kind, writing);
    QFETCH(FileFailure::Kind, reading);
    const QTemporaryDir root;
    const QDir dir(root.path());
    QVERIFY(dir.mkpath(u"settings/folder.rfk"_qs) && dir.mkpath(u"elsewhere"_qs));
    for (const auto &[file, bytes] : {std::pair{"settings/notes.txt", "Notizen\r\n"},
                                      {"elsewhere/empty.rfk", ""},
                                      {"elsewhere/cache.rfk", "<neuer abschnitt>\r\nfremd\r\n"}}) {
        QFile out(dir.filePath(QLatin1StringView(file)));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == qint64(qstrlen(bytes)));
    }
    if (!linkTarget.isEmpty())
        QVERIFY(QFile::link(linkTarget.replace(u"ABS/"_qs, root.path() + u'/'),
                            dir.filePath(u"settings/"_qs + name.section(u'/', 0, 0))));
    const auto before = snapshot(root.path());

    const PathBelow file{dir.filePath(u"settings"_qs), name};
    QCOMPARE(writeCache(file, WeekPlan{u"neu"_qs}).failure.kind, writing);
    QCOMPARE(loadCache(file).failure.kind, reading);
    QCOMPARE(snapshot(root.path()), before);
}

void TestCacheFile::loadCache_unreadable_givesNothing()
{
    QVERIFY(!loadCache(path("does-not-exist.rfk")).ok());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("dir.rfk")));
    QVERIFY(!loadCache(path("dir.rfk")).ok());
}

QTEST_GUILESS_MAIN(TestCacheFile)
#include "tst_cachefile.moc"
