// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/weekpage.h"

#include <QTest>

using namespace kostwerk::core;

class TestWeekPage final : public QObject
{
    Q_OBJECT

private slots:
    void findWeekLink_data();
    void findWeekLink();
    void cleanPage_data();
    void cleanPage();
    void cutSections_data();
    void cutSections();
    void stripTags_data();
    void stripTags();
    void parse_weekPage();
    void parse_noSection_keepsPreviousWeek();
    void parse_hostilePages_areLinear_data();
    void parse_hostilePages_areLinear();
};

void TestWeekPage::findWeekLink_data()
{
    QTest::addColumn<QString>("startPage");
    QTest::addColumn<QString>("link");
    QTest::newRow("lower-case href") << R"(<a href="t2026kw50.html">Vom 7.12.</a>)"
                                     << "t2026kw50.html";
    QTest::newRow("upper-case HREF") << R"(<A HREF="tw.html">Vom 7.12.</A>)"
                                     << "tw.html";
    QTest::newRow("text in lower case") << R"(<a href="tw.html">vom 7.12.</a>)"
                                        << "";
    QTest::newRow("target not starting with t") << R"(<a href="w.html">Vom 7.12.</a>)"
                                                << "";
    QTest::newRow("first href=t belongs to another anchor")
        << R"(<a href="top.html">Oben</a> <a href="tw.html">Vom 7.12.</a>)"
        << R"(top.html">Oben</a> <a href="tw.html)";
    QTest::newRow("Vom before the href") << R"(<b>Vom</b><a href="tw.html">Woche</a>)"
                                         << "";
    QTest::newRow("target is just t") << R"(<a href="t">Vom</a>)"
                                      << "t";
    QTest::newRow("empty page") << ""
                                << "";
}

void TestWeekPage::findWeekLink()
{
    QFETCH(QString, startPage);
    QFETCH(QString, link);
    QCOMPARE(WeekPage::findWeekLink(startPage), link);
}

void TestWeekPage::cleanPage_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("cleaned");
    QTest::newRow("two blanks vanish") << "Rind  fleisch"
                                       << "Rindfleisch";
    QTest::newRow("three blanks become one") << "a   b"
                                             << "a b";
    QTest::newRow("four blanks vanish") << "a    b"
                                        << "ab";
    QTest::newRow("line ends, lone CR stays") << "a\r\nb\nc\rd"
                                              << "abc\rd";
    QTest::newRow("blank line end blank") << "a \r\n b"
                                          << "ab";
    QTest::newRow("umlaut entities") << "&Auml;&auml;&Ouml;&ouml;&Uuml;&uuml;&szlig;"
                                     << "ÄäÖöÜüß";
    QTest::newRow("nbsp and quot") << "a&nbsp;&quot;b&quot;"
                                   << "a \"b\"";
    QTest::newRow("amp then lt") << "&amp;lt;b&amp;gt;"
                                 << "<b>";
    QTest::newRow("nbsp pairs are not doubled blanks") << "a&nbsp;&nbsp;b"
                                                       << "a  b";
    QTest::newRow("copy and reg") << "&copy; X&reg;"
                                  << "Copyright XEingetragenes Warenzeichen";
    QTest::newRow("other entities stay") << "&euro; &Auml"
                                         << "&euro; &Auml";
}

void TestWeekPage::cleanPage()
{
    QFETCH(QString, page);
    QFETCH(QString, cleaned);
    QCOMPARE(WeekPage::cleanPage(page), cleaned);
}

void TestWeekPage::cutSections_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("sections");
    QTest::newRow("title and day up to hr")
        << "x<h2>Woche</h2><H2>Mo</H2>a<hr>b" << QStringList{u"<h2>Woche</h2>"_qs, u"<H2>Mo</H2>a"_qs};
    QTest::newRow("hr with attributes, any case") << "<h2>A<HR size=1>" << QStringList{u"<h2>A"_qs};
    QTest::newRow("last h2 without hr is dropped") << "<h2>A<h2>B" << QStringList{u"<h2>A"_qs};
    QTest::newRow("h2 without later h2 or hr") << "<h2>A" << QStringList{};
    QTest::newRow("h2 with attributes does not count") << R"(<h2 class="x">A<h2>B<hr>)" << QStringList{u"<h2>B"_qs};
    QTest::newRow("hr before the h2 does not end it") << "<hr><h2>A<hr>" << QStringList{u"<h2>A"_qs};
    QTest::newRow("no h2") << "<h1>A</h1><hr>" << QStringList{};
}

void TestWeekPage::cutSections()
{
    QFETCH(QString, page);
    QFETCH(QStringList, sections);
    QCOMPARE(WeekPage::cutSections(page), sections);
}

void TestWeekPage::stripTags_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("text");
    QTest::newRow("only BR breaks the line") << "<h2>Mo</h2>A<BR>B<br>C<BR/>D<BR class=x>E<Br>F"
                                             << "MoA\r\nBCDEF";
    QTest::newRow("heading joins the next text") << "<h2>Montag</h2>Men&uuml;"
                                                 << "MontagMen&uuml;";
    QTest::newRow("lone < keeps the rest") << "a<b>c < d <i"
                                           << "ac < d <i";
    QTest::newRow("nested < inside a tag") << "a<b<c>d"
                                           << "ad";
    QTest::newRow("lone >") << "a > b"
                            << "a > b";
    QTest::newRow("empty tag") << "a<>b"
                               << "ab";
}

void TestWeekPage::stripTags()
{
    QFETCH(QString, section);
    QFETCH(QString, text);
    QCOMPARE(WeekPage::stripTags(section), text);
}

void TestWeekPage::parse_weekPage()
{
    const QString page = QStringLiteral("   <html><h2>Speiseplan</h2>\r\n<h2>Montag</h2><BR>Men&uuml; I<BR>"
                                        "Gef&uuml;llte  Paprika &amp;lt;scharf&amp;gt;\r\n<hr></html>\t ");
    const WeekPage::Result result = WeekPage::parse(page, WeekPlan{QStringLiteral("old")});
    QVERIFY(result.sectionsFound);
    QCOMPARE(result.weekPlan,
             (WeekPlan{QStringLiteral("Speiseplan"), QStringLiteral("Montag\r\nMenü I\r\nGefülltePaprika ")}));
}

void TestWeekPage::parse_noSection_keepsPreviousWeek()
{
    const WeekPlan previous{QStringLiteral("\r\nWoche"), QStringLiteral("\r\nMontag <x>lone <")};
    const WeekPage::Result result = WeekPage::parse(QStringLiteral("<h1>404</h1>"), previous);
    QVERIFY(!result.sectionsFound);
    QCOMPARE(result.weekPlan, (WeekPlan{QStringLiteral("\r\nWoche"), QStringLiteral("\r\nMontag lone <")}));
    QVERIFY(WeekPage::parse(QString(), WeekPlan{}).weekPlan.isEmpty());
}

void TestWeekPage::parse_hostilePages_areLinear_data()
{
    // Each would take hours with a search that starts again from the front.
    QTest::addColumn<QString>("page");
    QTest::addColumn<qsizetype>("sections");
    const qsizetype million = 1'000'000;
    QTest::newRow("a million tags") << (u"<h2>" + QStringLiteral("<i>x</i>").repeated(million) + u"<hr>")
                                    << qsizetype(1);
    QTest::newRow("a million < without >")
        << (u"<h2>" + QStringLiteral("a<").repeated(million) + u"<hr") << qsizetype(1);
    QTest::newRow("a million h2") << QStringLiteral("<h2>").repeated(million) << WeekPage::maxSections;
    QTest::newRow("a million entities") << (u"<h2>" + QStringLiteral("&amp;").repeated(million) + u"<hr>")
                                        << qsizetype(1);
}

void TestWeekPage::parse_hostilePages_areLinear()
{
    QFETCH(QString, page);
    QFETCH(qsizetype, sections);
    QCOMPARE(WeekPage::parse(page, WeekPlan{}).weekPlan.size(), sections);
}

QTEST_GUILESS_MAIN(TestWeekPage)
#include "tst_weekpage.moc"
