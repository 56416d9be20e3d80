// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/dayview.h"
#include "core/weekdays.h"

#include <QTest>

using namespace kostwerk::core;

namespace {

// A day as the week page gives it, after tag stripping.
QString fullDay()
{
    return QStringLiteral("Montag, 07.12.\r\n"
                          "Menü I\r\nSchnitzel\r\n"
                          "Wahlessen\r\nPasta\r\n"
                          "Eintopf\r\nLinsen\r\n"
                          "Menü II (veg.)\r\nTofu\r\n"
                          "Abendessen\r\nSuppe\r\n"
                          "Frische Salate\r\nGurke\r\n");
}

DayView fullDayView()
{
    return DayView{QStringLiteral("Montag, 07.12."),
                   {QStringLiteral("Menü I\r\nSchnitzel\r\n"), QStringLiteral("Wahlessen\r\nPasta\r\n"),
                    QStringLiteral("Eintopf\r\nLinsen\r\n"), QStringLiteral("Menü II (veg.)\r\nTofu\r\n"),
                    QStringLiteral("Abendessen\r\nSuppe\r\n")}};
}

} // namespace

class TestDayView final : public QObject
{
    Q_OBJECT

private slots:
    void dayViewOf_data();
    void dayViewOf();
    void dayViewOf_neverChangesTheWeek();
    void todayWeekdayIndex_data();
    void todayWeekdayIndex();
    void isOutdated_turnsAtMondayMidnight_data();
    void isOutdated_turnsAtMondayMidnight();
};

void TestDayView::dayViewOf_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<DayView>("expected");

    QTest::newRow("full day") << fullDay() << fullDayView();
    QTest::newRow("read back from the cache") << QString(lineBreak + fullDay()) << fullDayView();
    QTest::newRow("empty title, read back") << QString(lineBreak + lineBreak + fullDay()) << fullDayView();

    DayView noEintopf = fullDayView();
    noEintopf[Category::ChoiceMeal] = QStringLiteral(
        "Wahlessen\r\nPasta\r\nMenü II (veg.)\r\nTofu\r\nAbendessen\r\nSuppe\r\n");
    noEintopf[Category::Stew].clear();
    QTest::newRow("without Eintopf, Wahlessen runs to Frische Salate")
        << QString(fullDay()).remove(QStringLiteral("Eintopf\r\nLinsen\r\n")) << noEintopf;

    DayView noSalads = fullDayView();
    noSalads[Category::Dinner].clear();
    QTest::newRow("without Frische Salate, Abendessen stays empty")
        << fullDay().left(fullDay().indexOf(u"Frische")) << noSalads;

    DayView locations = fullDayView();
    locations[Category::MenuOne] = QStringLiteral("Menü I\r\nSchnitzel \r\n");
    locations[Category::ChoiceMeal] = QStringLiteral("Wahlessen\r\nPasta \r\n");
    locations[Category::Stew] = QStringLiteral("Eintopf\r\nLinsen \r\n");
    QTest::newRow("location names and their phrase vanish")
        << QString(fullDay())
               .replace(u"Schnitzel"_qs, u"Schnitzel Nur im Nordhang erhältlich"_qs)
               .replace(u"Pasta"_qs, u"Pasta Nur im Brunnenstraße erhältlich"_qs)
               .replace(u"Linsen"_qs, u"Linsen Kronenhof"_qs)
        << locations;

    DayView lowerCase = fullDayView();
    lowerCase[Category::ChoiceMeal] = QStringLiteral("wahlessen\r\nPasta\r\n");
    QTest::newRow("heading in lower case counts")
        << QString(fullDay()).replace(u"Wahlessen"_qs, u"wahlessen"_qs) << lowerCase;

    DayView upperCase = fullDayView();
    upperCase[Category::MenuOne] = QStringLiteral("MENÜ I\r\nSchnitzel\r\n");
    QTest::newRow("umlaut heading in upper case counts")
        << QString(fullDay()).replace(u"Menü I\r\n"_qs, u"MENÜ I\r\n"_qs) << upperCase;

    QTest::newRow("next heading before the own one leaves it empty")
        << QString(fullDay()).remove(QStringLiteral("Menü I\r\nSchnitzel\r\n")) << [] {
               // "Menü I" is now found inside "Menü II (veg.)", after "Wahlessen".
               DayView v = fullDayView();
               v[Category::MenuOne].clear();
               return v;
           }();

    // Passed over for the line that is the heading, blanks and location aside.
    const QString words = u"Schnitzel, Wahlessen, Eintopf, Menü II (veg.), Abendessen, Frische Salate"_qs;
    DayView dishes = fullDayView();
    dishes[Category::MenuOne] = u"Menü I\r\n"_qs + words + lineBreak;
    dishes[Category::Vegetarian] = u"Menü II (veg.)\r\nTofu\r\n "_qs;
    dishes[Category::Dinner] = u"Abendessen \r\nSuppe\r\n"_qs;
    QTest::newRow("dish holding every category word")
        << QString(fullDay())
               .replace(u"Schnitzel"_qs, words)
               .replace(u"Abendessen\r\n"_qs, u" Abendessen Kronenhof\r\n"_qs)
        << dishes;
    QTest::newRow("headings sharing their lines are found where they occur")
        << u"Mittwoch\r\nMenü I: Reis\r\nWahlessen: Nudeln\r\nEintopf: Erbsen\r\nMenü II (veg.): Tofu\r\n"
           u"Abendessen: Brot\r\nFrische Salate: Gurke"_qs
        << DayView{u"Mittwoch"_qs,
                   {u"Menü I: Reis\r\n"_qs, u"Wahlessen: Nudeln\r\n"_qs, u"Eintopf: Erbsen\r\n"_qs,
                    u"Menü II (veg.): Tofu\r\n"_qs, u"Abendessen: Brot\r\n"_qs}};

    QTest::newRow("one line: the whole section is the heading")
        << QStringLiteral("\r\nNur ein Titel") << DayView{QStringLiteral("Nur ein Titel"), {}};
    QTest::newRow("empty section") << QString() << DayView{};
}

void TestDayView::dayViewOf()
{
    QFETCH(QString, section);
    QFETCH(DayView, expected);
    const DayView actual = ::dayViewOf(WeekPlan{QStringLiteral("Woche"), section}, 1).value();
    QCOMPARE(actual.heading, expected.heading);
    for (std::size_t category = 0; category < categoryCount; ++category)
        QCOMPARE(actual.categories[category], expected.categories[category]);
}

void TestDayView::dayViewOf_neverChangesTheWeek()
{
    const WeekPlan week{QStringLiteral("Woche"), fullDay() + u"Nur im Kronenhof erhältlich"};
    const WeekPlan copy = week;
    ::dayViewOf(week, 1);
    QCOMPARE(week, copy);

    QVERIFY(!::dayViewOf(week, 2));
    QVERIFY(!::dayViewOf(week, 6));
    QVERIFY(!::dayViewOf(WeekPlan{}, 1));
}

void TestDayView::todayWeekdayIndex_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("index");
    QTest::newRow("Montag") << QDate(2001, 11, 19) << 0;
    QTest::newRow("Dienstag") << QDate(2026, 12, 8) << 1;
    QTest::newRow("Mittwoch") << QDate(2026, 12, 9) << 2;
    QTest::newRow("Donnerstag") << QDate(2026, 12, 10) << 3;
    QTest::newRow("Freitag") << QDate(2027, 1, 1) << 4;
    QTest::newRow("Samstag") << QDate(2000, 2, 5) << 5;
    QTest::newRow("Sonntag preselects Montag") << QDate(2026, 12, 13) << 0;
}

void TestDayView::todayWeekdayIndex()
{
    QFETCH(QDate, date);
    QFETCH(int, index);
    QCOMPARE(Weekdays::todayWeekdayIndex(date), std::optional<int>(index));
}

void TestDayView::isOutdated_turnsAtMondayMidnight_data()
{
    QTest::addColumn<QDateTime>("fetched");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<bool>("outdated");
    const QDate monday(2026, 12, 7);
    const QDateTime lastSecondOfSunday(monday.addDays(-1), QTime(23, 59, 59));
    QTest::newRow("Sunday night, seen on Monday") << lastSecondOfSunday << monday << true;
    QTest::newRow("Monday midnight, seen on Monday") << monday.startOfDay() << monday << false;
    QTest::newRow("Monday midnight, seen on Sunday") << monday.startOfDay() << monday.addDays(6) << false;
    QTest::newRow("Sunday night, seen on Sunday") << lastSecondOfSunday << monday.addDays(-1) << false;
    QTest::newRow("Monday midnight, seen on Sunday before") << monday.startOfDay() << monday.addDays(-1) << true;
}

void TestDayView::isOutdated_turnsAtMondayMidnight()
{
    QFETCH(QDateTime, fetched);
    QFETCH(QDate, today);
    QFETCH(bool, outdated);
    QCOMPARE(Weekdays::isOutdated(fetched, today), outdated);
}

QTEST_GUILESS_MAIN(TestDayView)
#include "tst_dayview.moc"
