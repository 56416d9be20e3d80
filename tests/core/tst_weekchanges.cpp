// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/weekchanges.h"

#include <QTest>

using namespace kostwerk::core;

namespace {

using Kind = WeekChanges::Kind;
using Categories = QList<QList<int>>; // per weekday
const Categories unchanged(6);

// "title|dish|...": a title section, then a day per dish from Montag on, as
// a fetch cuts them; read back from the cache, each section begins with a
// line break.
WeekPlan week(const QString &title, const QString &dishes, bool fromCache = false)
{
    const QString start = fromCache ? u"\r\n"_qs : QString();
    WeekPlan plan{start + title};
    for (const QString &dish : dishes.split(u'|'))
        plan.append(start + u"Tag\r\nMenü I\r\n" + dish + u"\r\nWahlessen");
    return plan;
}

} // namespace

class TestWeekChanges final : public QObject
{
    Q_OBJECT

private slots:
    void compareWeeks_data();
    void compareWeeks();
};

void TestWeekChanges::compareWeeks_data()
{
    QTest::addColumn<WeekPlan>("earlier");
    QTest::addColumn<WeekPlan>("fetched");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QList<int>>("changedDays");
    QTest::addColumn<Categories>("changedCategories");
    const WeekPlan kw50 = week(u"KW 50"_qs, u"Ente|Forelle|Reis"_qs);
    QTest::newRow("nothing before") << WeekPlan() << kw50 << Kind::NoEarlierWeek << QList<int>() << Categories();
    QTest::newRow("the same week read back from the cache")
        << week(u"KW 50"_qs, u"Ente|Forelle|Reis"_qs, true) << kw50 << Kind::SameWeek << QList<int>() << unchanged;
    QTest::newRow("only locations and blanks at line ends")
        << week(u"KW 50"_qs, u"Ente Nordhang|Forelle|Reis"_qs) << week(u"KW 50 "_qs, u"Ente Kronenhof|Forelle |Reis"_qs)
        << Kind::SameWeek << QList<int>() << unchanged;
    QTest::newRow("new title") << kw50 << week(u"KW 51"_qs, u"Ente|Forelle|Reis"_qs) << Kind::NewWeek << QList<int>()
                               << Categories();
    QTest::newRow("two days changed, one added")
        << kw50 << week(u"KW 50"_qs, u"Lachs|Forelle|Tofu|Kuchen"_qs) << Kind::SameWeek << QList<int>{0, 2, 3}
        << Categories{{0}, {}, {0}, {0}, {}, {}};
    QTest::newRow("day removed") << kw50 << week(u"KW 50"_qs, u"Ente|Forelle"_qs) << Kind::SameWeek << QList<int>{2}
                                 << Categories{{}, {}, {0}, {}, {}, {}};
    // Catches a changed day with every category marked, or none.
    const QString monday = u"Montag\r\nMenü I\r\nEnte\r\nWahlessen\r\n%1\r\nEintopf\r\n%2\r\nFrische Salate"_qs;
    QTest::newRow("Wahlessen and Eintopf changed")
        << WeekPlan{u"KW"_qs, monday.arg(u"Reis", u"Linsen")} << WeekPlan{u"KW"_qs, monday.arg(u"Nudeln", u"Erbsen")}
        << Kind::SameWeek << QList<int>{0} << Categories{{1, 2}, {}, {}, {}, {}, {}};
    // As the sample site has it: the week's dates on the title's second line.
    QTest::newRow("title whose dates stand on its second line")
        << week(u"Speiseplan\r\nWoche vom 07.12.2026"_qs, u"Ente"_qs)
        << week(u"Speiseplan\r\nWoche vom 14.12.2026"_qs, u"Ente"_qs) << Kind::NewWeek << QList<int>() << Categories();
    const WeekPlan monday07 = WeekPlan{u"KW"_qs, u"Montag, 07.12.\r\nMenü I\r\nEnte\r\nWahlessen"_qs};
    QTest::newRow("weekday headings with other dates")
        << monday07 << WeekPlan{u"KW"_qs, u"Montag, 14.12.\r\nMenü I\r\nEnte\r\nWahlessen"_qs} << Kind::NewWeek
        << QList<int>() << Categories();
    QTest::newRow("weekday heading with the same date, worded otherwise")
        << monday07 << WeekPlan{u"KW"_qs, u"Montag 07.12.\r\nMenü I\r\nEnte\r\nWahlessen"_qs} << Kind::SameWeek
        << QList<int>{0} << unchanged;
    QTest::newRow("a dish holding \";;;\", read back from the cache as a comma")
        << week(u"KW 50"_qs, u"Ente, Reis"_qs, true) << week(u"KW 50"_qs, u"Ente;;; Reis"_qs) << Kind::SameWeek
        << QList<int>() << unchanged;
}

void TestWeekChanges::compareWeeks()
{
    QFETCH(WeekPlan, earlier);
    QFETCH(WeekPlan, fetched);
    QFETCH(Kind, kind);
    QFETCH(QList<int>, changedDays);
    QFETCH(Categories, changedCategories);
    QCOMPARE(kostwerk::core::compareWeeks(earlier, fetched), (WeekChanges{kind, changedDays, changedCategories}));
}

QTEST_GUILESS_MAIN(TestWeekChanges)
#include "tst_weekchanges.moc"
