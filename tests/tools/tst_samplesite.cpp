// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/tools/dumpprocess.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

// The bundled sample site is what people try the program with and what the
// screenshots show: the program must find its week and fill every field.
class TestSampleSite final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startPage_linksToTheWeekPageBesideIt();
    void weekPage_givesTitleAndSixDays();
    void everyDay_fillsAllFieldsWithoutLocations_data();
    void everyDay_fillsAllFieldsWithoutLocations();

private:
    static QString sitePath(const QString &name);
    QTemporaryDir m_dir;
    QString m_cachePath;
    QByteArray m_cacheBytes;
};

QString TestSampleSite::sitePath(const QString &name)
{
    return QDir(QStringLiteral(KOSTWERK_SAMPLE_SITE "/uni/refekt")).filePath(name);
}

void TestSampleSite::initTestCase()
{
    const DumpRun link = runDump({u"link"_qs, sitePath(u"00.html"_qs)});
    QCOMPARE(link.exitCode, 0);
    const DumpRun week = runDump({u"week"_qs, sitePath(QString::fromUtf8(link.standardOutput.trimmed()))});
    QCOMPARE(week.exitCode, 0);
    m_cacheBytes = week.standardOutput;
    m_cachePath = m_dir.filePath(u"cache.rfk"_qs);
    QFile cache(m_cachePath);
    QVERIFY(cache.open(QIODevice::WriteOnly));
    QCOMPARE(cache.write(m_cacheBytes), m_cacheBytes.size());
}

void TestSampleSite::startPage_linksToTheWeekPageBesideIt()
{
    const DumpRun run = runDump({u"link"_qs, sitePath(u"00.html"_qs)});
    QCOMPARE(run.standardOutput, QByteArray("t2026kw50.html\n"));
    QVERIFY(QFile::exists(sitePath(u"t2026kw50.html"_qs)));
}

void TestSampleSite::weekPage_givesTitleAndSixDays()
{
    QCOMPARE(m_cacheBytes.count("<neuer abschnitt>\r\n"), 7);
    QVERIFY(m_cacheBytes.startsWith("<neuer abschnitt>\r\nSpeiseplan der Mensa Refekt\r\n"));
    // The day view has location names to remove.
    for (const char *location : {"Nur im Nordhang", "Nur im Kronenhof",
                                 "Brunnenstra\xdf"
                                 "e"})
        QVERIFY2(m_cacheBytes.contains(location), location);
}

void TestSampleSite::everyDay_fillsAllFieldsWithoutLocations_data()
{
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("heading");
    QTest::newRow("Montag") << u"1"_qs << u"Montag, 07.12.2026"_qs;
    QTest::newRow("Dienstag") << u"2"_qs << u"Dienstag, 08.12.2026"_qs;
    QTest::newRow("Mittwoch") << u"3"_qs << u"Mittwoch, 09.12.2026"_qs;
    QTest::newRow("Donnerstag") << u"4"_qs << u"Donnerstag, 10.12.2026"_qs;
    QTest::newRow("Freitag") << u"5"_qs << u"Freitag, 11.12.2026"_qs;
    QTest::newRow("Samstag") << u"6"_qs << u"Samstag, 12.12.2026"_qs;
}

void TestSampleSite::everyDay_fillsAllFieldsWithoutLocations()
{
    QFETCH(QString, day);
    QFETCH(QString, heading);
    const DumpRun run = runDump({u"day"_qs, m_cachePath, day});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject view = QJsonDocument::fromJson(run.standardOutput).object();
    QCOMPARE(view.value(u"heading"_qs).toString(), heading);

    // Each category starts with its heading and holds at least one dish line.
    const QList<std::pair<QString, QString>> categories = {
        {u"menu1"_qs, u"Menü I\r\n"_qs},      {u"wahlessen"_qs, u"Wahlessen\r\n"_qs},
        {u"eintopf"_qs, u"Eintopf\r\n"_qs},   {u"vegetarisch"_qs, u"Menü II (veg.)\r\n"_qs},
        {u"abendessen"_qs, u"Abendessen"_qs},
    };
    for (const auto &[key, start] : categories) {
        const QString text = view.value(key).toString();
        QVERIFY2(text.startsWith(start), qPrintable(key));
        QVERIFY2(text.count(u"\r\n"_qs) >= 2, qPrintable(key));
        for (const QString &location : {u"Nordhang"_qs, u"Kronenhof"_qs, u"Brunnenstraße"_qs, u"erhältlich"_qs})
            QVERIFY2(!text.contains(location), qPrintable(key + u": "_qs + location));
    }
}

QTEST_GUILESS_MAIN(TestSampleSite)
#include "tst_samplesite.moc"
