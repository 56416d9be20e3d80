// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/shownlines.h"
#include "texts/statusline.h"

#include <QTest>

using namespace kostwerk::core;

class TestShownLines final : public QObject
{
    Q_OBJECT

private slots:
    void shownLines_data();
    void shownLines();
};

void TestShownLines::shownLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("characters");
    QTest::addColumn<QStringList>("shown");
    // Each pair of rows lies on either side of a bound.
    QTest::newRow("as many lines as allowed") << u"a\r\nb\r\n"_qs << 3 << 9 << QStringList{u"a"_qs, u"b"_qs, {}};
    QTest::newRow("one line more") << u"a\r\nb\r\nc"_qs << 2 << 9
                                   << QStringList{u"a"_qs, u"b"_qs, u"… (1 weitere Zeile)"_qs};
    QTest::newRow("only the empty last line left out") << u"ab\r\n"_qs << 9 << 1 << QStringList{u"a…"_qs};
    QTest::newRow("as many characters as allowed") << u"ab\r\ncd"_qs << 9 << 4 << QStringList{u"ab"_qs, u"cd"_qs};
    QTest::newRow("one character more") << u"ab\r\ncd"_qs << 9 << 3 << QStringList{u"ab"_qs, u"c…"_qs};
    QTest::newRow("characters run out at a line's end")
        << u"ab\r\ncd\r\nef"_qs << 9 << 2 << QStringList{u"ab"_qs, u"… (2 weitere Zeilen)"_qs};
    QTest::newRow("cut within a line, lines after it")
        << u"abc\r\nd\r\ne"_qs << 9 << 2 << QStringList{u"ab…"_qs, u"… (2 weitere Zeilen)"_qs};
    QTest::newRow("a character beyond the basic plane stays whole")
        << u"a\U0001F35Db"_qs << 9 << 2 << QStringList{u"a…"_qs};
    QTest::newRow("thousands") << u"\r\n"_qs.repeated(1234) << 1 << 9
                               << QStringList{QString(), u"… (1.234 weitere Zeilen)"_qs};
    QTest::newRow("empty text") << QString() << 1 << 0 << QStringList{QString()};
}

void TestShownLines::shownLines()
{
    QFETCH(QString, text);
    QFETCH(int, lines);
    QFETCH(int, characters);
    QFETCH(QStringList, shown);
    QCOMPARE(kostwerk::core::shownLines(text, u"\r\n", {lines, characters}, kostwerk::texts::StatusLine::leftOutLines),
             shown);
}

QTEST_MAIN(TestShownLines)
#include "tst_shownlines.moc"
