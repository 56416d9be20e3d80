#include "core/cachefile.h"
#include "tests/common/filesizelimit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kostwerk::core;

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
    void loadCache_unreadable_givesNothing();

private:
    QString path(const char *name) const { return m_dir.filePath(QLatin1StringView(name)); }
    static QByteArray read(const QString &path);
    QTemporaryDir m_dir;
};

QByteArray TestCacheFile::read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
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
        << QByteArray("\xef\xbb\xbf<neuer abschnitt>\r\nPierogi \xc5\x81\xc3\xb3" "d\xc5\xba;;; \xe2\x82\xac\r\n");
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
        << QByteArray("<neuer abschnitt>\r\n  \"zitiert\", sagt er\r\n")
        << WeekPlan{u"\r\n  \"zitiert\", sagt er"_qs};
    QTest::newRow("empty file") << QByteArray() << WeekPlan{};
    QTest::newRow("no marker at all") << QByteArray("\x00\xff\x01garbage\n", 11) << WeekPlan{};
    QTest::newRow("UTF-8 with BOM")
        << QByteArray("\xef\xbb\xbf<neuer abschnitt>\r\n\xc5\x81\xc3\xb3" "d\xc5\xba\r\n")
        << WeekPlan{u"\r\n\u0141\u00f3d\u017a"_qs};
    QTest::newRow("truncated mid-line")
        << QByteArray("<neuer abschnitt>\r\nWoche\r\n<neuer abs") << WeekPlan{u"\r\nWoche\r\n<neuer abs"_qs};
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
    QTest::newRow("fetched week")
        << WeekPlan{u"Speiseplan"_qs, u"Montag\r\nMen\u00fc I\r\nSchnitzel, Pommes\r\n"_qs};
    QTest::newRow("empty lines inside") << WeekPlan{u"a\r\n\r\n\r\nb"_qs};
    QTest::newRow("outside Windows-1252") << WeekPlan{u"\u0416 \U0001F35D"_qs, u"x"_qs};
}

void TestCacheFile::roundTrip_addsOneLeadingLineBreak()
{
    QFETCH(WeekPlan, weekPlan);
    const QString file = path("roundtrip.rfk");
    QVERIFY(writeCache(file, weekPlan));
    const LoadedCache back = loadCache(file);
    QVERIFY(back.ok());
    QCOMPARE(back.weekPlan.size(), weekPlan.size());
    for (qsizetype i = 0; i < weekPlan.size(); ++i)
        QCOMPARE(back.weekPlan.at(i), lineBreak + weekPlan.at(i));
}

void TestCacheFile::writeCache_replacesFileCompletely()
{
    const QString file = path("replace.rfk");
    QVERIFY(writeCache(file, WeekPlan{QString(5000, u'x'), u"b"_qs}));
    QVERIFY(writeCache(file, WeekPlan{u"c"_qs}));
    QCOMPARE(read(file), QByteArray("<neuer abschnitt>\r\nc\r\n"));
}

void TestCacheFile::writeCache_emptyWeek_keepsOldFile()
{
    const QString file = path("keep.rfk");
    QVERIFY(writeCache(file, WeekPlan{u"old"_qs}));
    QVERIFY(writeCache(file, WeekPlan{}));
    QCOMPARE(read(file), QByteArray("<neuer abschnitt>\r\nold\r\n"));
    QVERIFY(writeCache(path("never.rfk"), WeekPlan{}));
    QVERIFY(!QFile::exists(path("never.rfk")));
}

void TestCacheFile::writeCache_failedWrite_keepsOldFile()
{
    const QString file = path("full.rfk");
    QVERIFY(writeCache(file, WeekPlan{u"old"_qs}));
    const QByteArray before = read(file);
    {
        const FileSizeLimit diskFull(4096);
        QVERIFY(!writeCache(file, WeekPlan{QString(100000, u'n')}));
    }
    QCOMPARE(read(file), before);
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("full.rfk*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("full.rfk")});

    // The cache path names a folder: the write must fail and say so.
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.rfk")));
    QVERIFY(!writeCache(path("folder.rfk"), WeekPlan{u"new"_qs}));
    QVERIFY(QFileInfo(path("folder.rfk")).isDir());

    // A missing folder on the way: nothing is written, nothing claims success.
    QVERIFY(!writeCache(path("missing/cache.rfk"), WeekPlan{u"new"_qs}));

    // Another file under the cache's name is no cache and stays.
    QFile notes(path("notes.txt"));
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("Notizen\r\n") == 9 && notes.flush());
    QVERIFY(!writeCache(notes.fileName(), WeekPlan{u"new"_qs}));
    QCOMPARE(read(notes.fileName()), QByteArray("Notizen\r\n"));
}

void TestCacheFile::loadCache_unreadable_givesNothing()
{
    QVERIFY(!loadCache(path("does-not-exist.rfk")).ok());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("dir.rfk")));
    QVERIFY(!loadCache(path("dir.rfk")).ok());
}

QTEST_GUILESS_MAIN(TestCacheFile)
#include "tst_cachefile.moc"
