// SPDX-License-Identifier: GPL-3.0-or-later

#include "generated/buildconfig.h"
#include "tests/common/canteensite.h"
#include "tests/tools/dumpprocess.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

// Runs the real kostwerk-dump on saved pages and cache files; the expected
// bytes are worked out by hand from the program's rules.
class TestDump final : public QObject
{
    Q_OBJECT

private slots:
    void link_printsWeekLinkLine_data();
    void link_printsWeekLinkLine();
    void week_printsExactCacheBytes_data();
    void week_printsExactCacheBytes();
    void week_onTerminal_printsEscapedUtf8();
    void day_printsWhatTheWindowShows_data();
    void day_printsWhatTheWindowShows();
    void day_printsOneCompactUtf8JsonLine();
    void fetch_printsEachStep_writesNothing_data();
    void fetch_printsEachStep_writesNothing();
    void badUse_exitsTwoWithOneGermanLine_data();
    void badUse_exitsTwoWithOneGermanLine();
    void version_printsBuildVersion();
    void help_describesTheThreeCommands();

private:
    QString write(const QString &name, const QByteArray &bytes) const;
    QTemporaryDir m_dir;
};

QString TestDump::write(const QString &name, const QByteArray &bytes) const
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test file");
    return path;
}

void TestDump::link_printsWeekLinkLine_data()
{
    QTest::addColumn<QByteArray>("startPage");
    QTest::addColumn<QByteArray>("output");
    QTest::newRow("upper-case HREF")
        << QByteArray(R"(<a HREF="index.html">Start</a> <a HREF="t2026kw50.html">Vom 07.12.2026</a>)")
        << QByteArray("t2026kw50.html\n");
    QTest::newRow("lower-case href") << QByteArray(R"(<a href="tw.html">Vom 7.12.</a>)") << QByteArray("tw.html\n");
    QTest::newRow("text vom in lower case gives an empty line")
        << QByteArray(R"(<a href="tw.html">vom 7.12.</a>)") << QByteArray("\n");
    QTest::newRow("target not starting with t gives an empty line")
        << QByteArray(R"(<a href="w.html">Vom 7.12.</a>)") << QByteArray("\n");
    QTest::newRow("Windows-1252 link comes out as UTF-8")
        << QByteArray("<a href=\"tw\xfc.html\">Vom 7.12.</a>") << QByteArray("tw\xc3\xbc.html\n");
    QTest::newRow("empty page gives an empty line") << QByteArray() << QByteArray("\n");
    QTest::newRow("control characters escaped") << QByteArray("<a href=\"t\x1b[2J\x07\x7f\x81\tx.html\">Vom 7.12.</a>")
                                                << QByteArray("t\\x1b[2J\\x07\\x7f\\u0081\tx.html\n");
}

void TestDump::link_printsWeekLinkLine()
{
    QFETCH(QByteArray, startPage);
    QFETCH(QByteArray, output);
    const DumpRun run = runDump({u"link"_qs, write(u"00.html"_qs, startPage)});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.standardOutput, output);
    QCOMPARE(run.standardError, QByteArray());
}

void TestDump::week_printsExactCacheBytes_data()
{
    QTest::addColumn<QByteArray>("weekPage");
    QTest::addColumn<QByteArray>("cacheBytes");
    QTest::newRow("Windows-1252 page with entities, double blanks and BR")
        << QByteArray("  <html><title>Woche</title>\r\n"
                      "<h2>Speiseplan der Mensa</h2>\r\n"
                      "<h2>Montag, 07.12.2026</h2><BR>\r\n"
                      "Men&uuml; I<BR>\r\n"
                      "Gr\xfcnkohl  mit Pinkel &amp; Kassler,&nbsp;3,20 \x80<BR>\r\n"
                      "<br>Nur im Nordhang erh&auml;ltlich<BR/><hr>Fu&szlig;zeile  ")
        << QByteArray("<neuer abschnitt>\r\nSpeiseplan der Mensa\r\n"
                      "<neuer abschnitt>\r\nMontag;;; 07.12.2026\r\nMen\xfc I\r\n"
                      "Gr\xfcnkohlmit Pinkel & Kassler;;; 3;;;20 \x80\r\n"
                      "Nur im Nordhang erh\xe4ltlich\r\n");
    QTest::newRow("UTF-8 page with byte-order mark is stored in Windows-1252")
        << QByteArray("\xef\xbb\xbf<h2>Gr\xc3\xbc\xc3\x9f Gott</h2><hr>")
        << QByteArray("<neuer abschnitt>\r\nGr\xfc\xdf Gott\r\n");
    QTest::newRow("page declaring UTF-8 in a meta tag")
        << QByteArray("<meta charset=\"utf-8\"><h2>K\xc3\xa4se</h2><BR><hr>")
        << QByteArray("<neuer abschnitt>\r\nK\xe4se\r\n\r\n");
    QTest::newRow("control characters from the page escaped, line breaks kept")
        << QByteArray("<h2>Mo\x1b]0;x\x07</h2><BR>Suppe\rEnde<hr>")
        << QByteArray("<neuer abschnitt>\r\nMo\\x1b]0;x\\x07\r\nSuppe\\x0dEnde\r\n");
    QTest::newRow("page without sections gives nothing")
        << QByteArray("<html><body>Kein Plan<hr></body></html>") << QByteArray();
    QTest::newRow("h2 with neither h2 nor hr after it gives nothing")
        << QByteArray("<h2>Montag</h2><BR>Suppe") << QByteArray();
}

void TestDump::week_printsExactCacheBytes()
{
    QFETCH(QByteArray, weekPage);
    QFETCH(QByteArray, cacheBytes);
    const DumpRun run = runDump({u"week"_qs, write(u"woche.html"_qs, weekPage)});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.standardOutput, cacheBytes);
    QCOMPARE(run.standardError, QByteArray());
}

void TestDump::week_onTerminal_printsEscapedUtf8()
{
    // "›" is the byte 0x9B in Windows-1252: a control sequence's start on a
    // terminal that reads 8 bits.
    const QString page = write(u"woche.html"_qs, QByteArray("<h2>Men\xfc \x9b Suppe</h2><hr>"));
    QProcess script; // runs the dump on a pseudo-terminal
    script.start(u"script"_qs, {u"-qec"_qs, QStringLiteral(KOSTWERK_DUMP " week ") + page, u"/dev/null"_qs});
    QVERIFY(script.waitForFinished(-1));
    const QString shown = QString::fromUtf8(script.readAllStandardOutput());
    QVERIFY2(shown.contains(u"\r\nMenü › Suppe\r"_qs), qPrintable(shown));
    QVERIFY(shown.contains(u"umgeleitet (etwa > cache.rfk) sind es genau die Bytes der Cache-Datei"_qs));
    QVERIFY(std::none_of(shown.begin(), shown.end(), [](QChar c) { return c >= u'\x80' && c <= u'\x9f'; }));
}

void TestDump::day_printsWhatTheWindowShows_data()
{
    const QByteArray week("<neuer abschnitt>\r\nSpeiseplan\r\n"
                          "<neuer abschnitt>\r\nMontag;;; 07.12.2026\r\n"
                          "Men\xfc I\r\nRoulade;;; Rotkohl 3;;;20 \x80\r\n"
                          "Wahlessen\r\nPizza Nur im Nordhang erh\xe4ltlich\r\n"
                          "Eintopf\r\nLinsensuppe\r\n"
                          "Men\xfc II (veg.)\r\nK\xe4sesp\xe4tzle\r\n"
                          "Abendessen Brunnenstra\xdf"
                          "e\r\nCurrywurst \"scharf\"\r\n"
                          "Frische Salate\r\nSalatbar\r\n");
    QTest::addColumn<QByteArray>("cacheFile");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QStringList>("fields"); // heading, then the five categories; none for null
    QTest::newRow("Montag without location names") << week << u"1"_qs
                                                   << QStringList{u"Montag, 07.12.2026"_qs,
                                                                  u"Menü I\r\nRoulade, Rotkohl 3,20 €\r\n"_qs,
                                                                  u"Wahlessen\r\nPizza \r\n"_qs,
                                                                  u"Eintopf\r\nLinsensuppe\r\n"_qs,
                                                                  u"Menü II (veg.)\r\nKäsespätzle\r\n"_qs,
                                                                  u"Abendessen \r\nCurrywurst \"scharf\"\r\n"_qs};
    QTest::newRow("day beyond the week is null") << week << u"2"_qs << QStringList();
    QTest::newRow("empty cache file has no day") << QByteArray() << u"6"_qs << QStringList();
}

void TestDump::day_printsWhatTheWindowShows()
{
    QFETCH(QByteArray, cacheFile);
    QFETCH(QString, day);
    QFETCH(QStringList, fields);
    const DumpRun run = runDump({u"day"_qs, write(u"cache.rfk"_qs, cacheFile), day});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.standardError, QByteArray());
    if (fields.isEmpty()) {
        QCOMPARE(run.standardOutput, QByteArray("null\n"));
        return;
    }

    QJsonParseError error;
    const QJsonObject view = QJsonDocument::fromJson(run.standardOutput, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(view.size(), 6);
    const QStringList keys = {u"heading"_qs, u"menu1"_qs,       u"wahlessen"_qs,
                              u"eintopf"_qs, u"vegetarisch"_qs, u"abendessen"_qs};
    for (qsizetype i = 0; i < keys.size(); ++i) {
        QVERIFY2(view.value(keys.at(i)).isString(), qPrintable(keys.at(i)));
        QCOMPARE(view.value(keys.at(i)).toString(), fields.at(i));
    }
}

void TestDump::day_printsOneCompactUtf8JsonLine()
{
    const QString cache = write(u"kurz.rfk"_qs, QByteArray("<neuer abschnitt>\r\n<neuer abschnitt>\r\n"
                                                           "Montag\r\nMen\xfc I\r\nSuppe\x7f\x81\r\nWahlessen\r\n"));
    const DumpRun run = runDump({u"day"_qs, cache, u"1"_qs});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.standardOutput, QByteArray(R"({"heading":"Montag","menu1":"Men)"
                                            "\xc3\xbc"
                                            R"( I\r\nSuppe\u007f\u0081\r\n",)"
                                            R"("wahlessen":"","eintopf":"","vegetarisch":"","abendessen":""})"
                                            "\n"));
}

void TestDump::fetch_printsEachStep_writesNothing_data()
{
    QTest::addColumn<QByteArray>("startPage");
    QTest::addColumn<int>("weekStatus");
    QTest::addColumn<QStringList>("lineStarts"); // each begins a line of the output; SITE/ is the site's folder
    QTest::addColumn<QString>("problem");        // the window's words on standard error; none for a week
    const QString found = u" (HTTP-Status 200, %1 Bytes, Zeichensatz windows-1252)"_qs;
    QTest::newRow("good site")
        << CanteenSite::startPage << 200
        << QStringList{u"Startseite: SITE/00.html"_qs + found.arg(CanteenSite::startPage.size()),
                       u"Wochen-Link: tneu.html"_qs,
                       u"Wochenseite: SITE/tneu.html"_qs + found.arg(CanteenSite::weekPage.size()),
                       u"Abschnitte: 3"_qs,
                       u"Abschnitt 0: Neue Woche"_qs,
                       u"Abschnitt 2: Dienstag, 15.12."_qs}
        << QString();
    QTest::newRow("start page without the link")
        << QByteArray("<p>Ferien</p>") << 200
        << QStringList{u"Wochen-Link: keiner gefunden"_qs, u"Wochenseite: SITE/ (HTTP-Status 404, "_qs}
        << u"Auf der Startseite wurde kein Link zum Wochenplan gefunden."_qs;
    QTest::newRow("control characters in the link and the URL escaped")
        << QByteArray("<A HREF=\"t\x1b[2Jneu.html\">Vom 07.12.</A>") << 200
        << QStringList{u"Wochen-Link: t\\x1b[2Jneu.html"_qs,
                       u"Wochenseite: SITE/t\\x1b[2Jneu.html (HTTP-Status 404, "_qs}
        << u"Wochenplan: Der Server meldet einen Fehler (HTTP-Status 404)."_qs;
    QTest::newRow("week page 404")
        << CanteenSite::startPage << 404
        << QStringList{u"Wochenseite: SITE/tneu.html (HTTP-Status 404, "_qs, u"Abschnitte: 0"_qs}
        << u"Wochenplan: Der Server meldet einen Fehler (HTTP-Status 404)."_qs;
}

void TestDump::fetch_printsEachStep_writesNothing()
{
    QFETCH(QByteArray, startPage);
    QFETCH(int, weekStatus);
    QFETCH(QStringList, lineStarts);
    QFETCH(QString, problem);
    TestHttpServer server;
    // Without cacheFile, which the program would write back as its default.
    const QByteArray ini = CanteenSite::serve(server).replace("cacheFile=cache.rfk\r\n", "");
    QDir(m_dir.path()).mkdir(u"fetch"_qs);
    const QString iniPath = write(u"fetch/refekt.ini"_qs, ini);
    server.serve(u"/refekt/00.html"_qs, {200, startPage});
    server.serve(u"/refekt/tneu.html"_qs, {weekStatus, CanteenSite::weekPage});

    const DumpRun run = runDump({u"fetch"_qs, iniPath});
    const QString output = u'\n' + QString::fromUtf8(run.standardOutput);
    for (const QString &start : lineStarts)
        QVERIFY2(output.contains(u'\n' + QString(start).replace(u"SITE/"_qs, server.url(u"/refekt/"_qs))),
                 qPrintable(output));
    QCOMPARE(run.exitCode, problem.isEmpty() ? 0 : 2);
    QCOMPARE(QString::fromUtf8(run.standardError),
             problem.isEmpty() ? problem : u"kostwerk-dump: "_qs + problem + u'\n');
    // --cache prints what the window's fetch would write: what week makes of the week page.
    const QByteArray cacheText = problem.isEmpty()
                                     ? runDump({u"week"_qs, write(u"w.html"_qs, CanteenSite::weekPage)}).standardOutput
                                     : "";
    QCOMPARE(runDump({u"fetch"_qs, u"--cache"_qs, iniPath}).standardOutput, cacheText);
    // Neither a default written back nor a cache file.
    QCOMPARE(QDir(m_dir.filePath(u"fetch"_qs)).entryList(QDir::Files), QStringList{u"refekt.ini"_qs});
    QFile file(iniPath);
    QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == ini);
}

void TestDump::badUse_exitsTwoWithOneGermanLine_data()
{
    const QString cache = write(u"gut.rfk"_qs, QByteArray("<neuer abschnitt>\r\nMontag\r\n"));
    const QString missing = m_dir.filePath(u"fehlt.html"_qs);
    const QString folder = m_dir.path();
    const QString notReadable = u"kostwerk-dump: Datei nicht lesbar: "_qs;
    const QString badDay = u"kostwerk-dump: Ungültiger Tag: "_qs;
    const QString badCall = u"kostwerk-dump: Falsche Argumente"_qs;

    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("messageStart");
    QTest::newRow("link of a missing file") << QStringList{u"link"_qs, missing} << notReadable + missing;
    QTest::newRow("week of a missing file") << QStringList{u"week"_qs, missing} << notReadable + missing;
    QTest::newRow("day of a missing file") << QStringList{u"day"_qs, missing, u"1"_qs} << notReadable + missing;
    QTest::newRow("link of a folder") << QStringList{u"link"_qs, folder} << notReadable + folder;
    QTest::newRow("week of a folder") << QStringList{u"week"_qs, folder} << notReadable + folder;
    QTest::newRow("day of a folder") << QStringList{u"day"_qs, folder, u"1"_qs} << notReadable + folder;
    QTest::newRow("day 0") << QStringList{u"day"_qs, cache, u"0"_qs} << badDay;
    QTest::newRow("day 7") << QStringList{u"day"_qs, cache, u"7"_qs} << badDay;
    QTest::newRow("day x") << QStringList{u"day"_qs, cache, u"x"_qs} << badDay;
    QTest::newRow("day -1") << QStringList{u"day"_qs, cache, u"-1"_qs} << badDay;
    QTest::newRow("day 1.5") << QStringList{u"day"_qs, cache, u"1.5"_qs} << badDay;
    QTest::newRow("fetch with the placeholder address")
        << QStringList{u"fetch"_qs, write(u"refekt.ini"_qs, {})} << u"kostwerk-dump: Noch keine Mensa-Adresse"_qs;
    QTest::newRow("unknown command") << QStringList{u"month"_qs, cache}
                                     << u"kostwerk-dump: Unbekannter Befehl: month"_qs;
    QTest::newRow("no command") << QStringList{} << u"kostwerk-dump: Kein Befehl"_qs;
    QTest::newRow("link without file") << QStringList{u"link"_qs} << badCall;
    QTest::newRow("link with two files") << QStringList{u"link"_qs, cache, cache} << badCall;
    QTest::newRow("day without N") << QStringList{u"day"_qs, cache} << badCall;
    QTest::newRow("unknown option") << QStringList{u"--bunt"_qs, u"link"_qs, cache}
                                    << u"kostwerk-dump: Unbekannte Option: bunt"_qs;
}

void TestDump::badUse_exitsTwoWithOneGermanLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, messageStart);
    const DumpRun run = runDump(arguments);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.standardOutput, QByteArray());
    QVERIFY2(run.standardError.startsWith(messageStart.toUtf8()), run.standardError.constData());
    QCOMPARE(run.standardError.count('\n'), 1);
    QVERIFY(run.standardError.endsWith('\n'));
}

void TestDump::version_printsBuildVersion()
{
    const DumpRun run = runDump({u"--version"_qs});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.standardOutput, QByteArray("kostwerk-dump ") + kostwerk::BuildConfig::version + '\n');
}

void TestDump::help_describesTheThreeCommands()
{
    const DumpRun run = runDump({u"--help"_qs});
    QCOMPARE(run.exitCode, 0);
    for (const char *usage : {"link DATEI", "week DATEI", "day DATEI N"})
        QVERIFY2(run.standardOutput.contains(usage), usage);
    // German throughout, without the English frame of Qt's own help.
    for (const char *english : {"Usage", "Options", "Arguments", "Displays"})
        QVERIFY2(!run.standardOutput.contains(english), english);
}

QTEST_GUILESS_MAIN(TestDump)
#include "tst_dump.moc"
