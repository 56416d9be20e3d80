// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/dayview.h"
#include "core/weekpage.h"
#include "platform/pagedecoding.h"
#include "tests/common/pdftext.h"
#include "ui/printing/printouts.h"
#include "ui/printing/weekoverviewlayout.h"

#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <map>
#include <numeric>

using namespace kostwerk::core;
using kostwerk::platform::decodePage;
using namespace kostwerk::ui;

namespace {

const QString stand = u"Stand: 08.12.2026, 14:30"_qs;
constexpr int categories = 5; // the day view's, without "Frische Salate"

WeekPlan sampleWeek()
{
    QFile page(QStringLiteral(KOSTWERK_SAMPLE_SITE "/uni/refekt/t2026kw50.html"));
    return page.open(QIODevice::ReadOnly) ? WeekPage::parse(decodePage(page.readAll()).text, {}).weekPlan : WeekPlan();
}

// Six days as read from the cache, of about bytesPerDay each; every dish has
// a word of its own, so a lost line shows as a missing word.
WeekPlan generatedWeek(qsizetype bytesPerDay)
{
    WeekPlan week{u"\r\nSpeiseplan vom 07.12. bis 12.12."_qs};
    for (int day = 1; day <= 6; ++day) {
        QString section = u"\r\nTag "_qs + QString::number(day);
        for (int c = 0; c < categories; ++c) {
            section += u"\r\n"_qs + DayViewText::categoryHeadings[c].toString();
            const qsizetype end = section.size() + bytesPerDay / categories;
            for (int dish = 1; section.size() < end; ++dish)
                section += u"\r\nGericht D%1K%2N%3 mit Beilage und Soße"_qs.arg(day).arg(c).arg(dish);
        }
        week.append(section + u"\r\nFrische Salate\r\nGurkensalat"_qs);
    }
    return week;
}

// Words, cut after hyphens as well: a row of text may end at a hyphen.
QStringList wordPieces(QString text)
{
    return words(text.replace(u'-', u"- "_qs));
}

// With days: the title, and each day's heading and categories, whose names
// the category column shows. Without: only the note that there is no week.
QStringList shownWords(const WeekPlan &week)
{
    if (week.size() < 2)
        return wordPieces(u"Kein Wochenplan vorhanden – bitte zuerst Daten holen."_qs);
    QStringList texts{week.constFirst(), stand};
    for (qsizetype n = 1; n < week.size(); ++n) {
        const DayView view = *dayViewOf(week, n, Locations::Kept);
        texts << view.heading << QStringList(view.categories.begin(), view.categories.end());
    }
    return wordPieces(texts.join(u' '));
}

// Two days of a week, whose "Menü I" row holds dishes dishes a day.
WeekOverviewContent twoDays(int dishes)
{
    WeekOverviewContent content{{u"Speiseplan"_qs}, {u"Montag"_qs, u"Dienstag"_qs}, {}, {}};
    for (int c = 0; c < categories; ++c) {
        for (int day = 0; day < 2; ++day) {
            QStringList lines;
            for (int dish = 0; dish < (c == 0 ? dishes : 1); ++dish)
                lines.append(u"Gericht %1.%2"_qs.arg(day).arg(dish));
            content.dishes[c].append(lines);
        }
    }
    return content;
}

} // namespace

class TestWeekOverview final : public QObject
{
    Q_OBJECT

private slots:
    void pdf_showsEveryDishOnTheFewestPages_data();
    void pdf_showsEveryDishOnTheFewestPages();
    void paginate_losesNoRowAndRepeatsHeadings_data();
    void paginate_losesNoRowAndRepeatsHeadings();
};

void TestWeekOverview::pdf_showsEveryDishOnTheFewestPages_data()
{
    QTest::addColumn<WeekPlan>("week");
    QTest::addColumn<bool>("onePage");
    QTest::addColumn<int>("namesEach"); // how often each category name shows; -1: not counted
    // Catches a row or day left out, and a category name repeated in each cell.
    QTest::newRow("sample week") << sampleWeek() << true << 1;
    // Catches text that does not shrink, or a page break when the text still fits.
    QTest::newRow("1 KB a day shrinks to one page") << generatedWeek(1024) << true << 1;
    // Catches rows cut off at the page's foot instead of going on.
    QTest::newRow("10 KB a day goes on") << generatedWeek(10 * 1024) << false << -1;
    // Both catch a table of "Keine Daten vorhanden" days.
    QTest::newRow("no sections") << WeekPlan() << true << 0;
    QTest::newRow("title without days") << WeekPlan{u"\r\nSpeiseplan"_qs} << true << 0;
}

void TestWeekOverview::pdf_showsEveryDishOnTheFewestPages()
{
    QFETCH(WeekPlan, week);
    QFETCH(bool, onePage);
    QFETCH(int, namesEach);
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(u"uebersicht.pdf"_qs));

    QVERIFY(drawWhole(printer, Printouts::weekOverview(week, stand)));

    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    const std::optional<QString> text = pdfText(printer.outputFileName(), {u"-layout"_qs});
    if (!text)
        QSKIP("pdftotext (Debian package poppler-utils) is not installed");
    QCOMPARE(text->count(u'\f') == 1, onePage);
    // The font's ligatures come back from the PDF as single characters.
    const QStringList printed = wordPieces(text->normalized(QString::NormalizationForm_KC));
    const QSet<QString> printedSet(printed.begin(), printed.end());
    for (const QString &word : shownWords(week))
        QVERIFY2(printedSet.contains(word), qPrintable(word));
    for (int c = 0; namesEach >= 0 && c < categories; ++c) {
        const QString name = DayViewText::categoryHeadings[c].toString();
        QCOMPARE(text->count(QRegularExpression(QRegularExpression::escape(name) + u"(?!\\w)"_qs)), namesEach);
    }
}

void TestWeekOverview::paginate_losesNoRowAndRepeatsHeadings_data()
{
    QTest::addColumn<WeekOverviewContent>("content");
    QTest::addColumn<int>("pageHeight"); // in pixels of a 96 dpi image
    QTest::addColumn<bool>("onePage");
    QTest::newRow("fits one page") << twoDays(3) << 600 << true;
    // Catches a continued row without its category's name, or without the
    // day headings above it.
    QTest::newRow("a row taller than a page") << twoDays(60) << 400 << false;
    // Catches a page that takes nothing and so never ends.
    QTest::newRow("a page too small for a row of text") << twoDays(2) << 10 << false;
}

void TestWeekOverview::paginate_losesNoRowAndRepeatsHeadings()
{
    QFETCH(WeekOverviewContent, content);
    QFETCH(int, pageHeight);
    QFETCH(bool, onePage);
    QImage device(1, 1, QImage::Format_RGB32);
    const OverviewSheet sheet = layOutOverview(content, stand, 10, QSizeF(800, pageHeight), &device);
    const std::vector<OverviewPage> paginated = paginate(sheet);
    QCOMPARE(paginated.size() == 1, onePage);

    // Every row of text of every cell is printed exactly once, in order, but
    // for the day headings and a category's name, which may come again.
    std::map<std::pair<std::size_t, std::size_t>, std::vector<int>> printed;
    for (std::size_t p = 0; p < paginated.size(); ++p) {
        for (const OverviewSlice &slice : paginated[p]) {
            const OverviewBlock &block = sheet.blocks[slice.block];
            for (std::size_t c = 0; c < block.cells.size(); ++c) {
                for (int row = slice.first[c]; row < slice.end[c]; ++row)
                    printed[{slice.block, c}].push_back(row);
            }
            const bool continued = block.kind == OverviewBlock::Kind::CategoryRow && slice.first[1] > 0;
            if (continued)
                QCOMPARE(std::pair(slice.first[0], slice.end[0]), std::pair(0, block.cells[0]->lineCount()));
        }
        if (p > 0 && pageHeight > 100)
            QCOMPARE(sheet.blocks[paginated[p].front().block].kind, OverviewBlock::Kind::HeaderRow);
    }
    for (std::size_t b = 0; b < sheet.blocks.size(); ++b) {
        for (std::size_t c = 0; c < sheet.blocks[b].cells.size(); ++c) {
            std::vector<int> rows = printed[{b, c}];
            const OverviewBlock::Kind kind = sheet.blocks[b].kind;
            if (kind == OverviewBlock::Kind::HeaderRow || (kind == OverviewBlock::Kind::CategoryRow && c == 0)) {
                std::sort(rows.begin(), rows.end());
                rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
            }
            std::vector<int> all(sheet.blocks[b].cells[c]->lineCount());
            std::iota(all.begin(), all.end(), 0);
            QCOMPARE(rows, all);
        }
    }
}

QTEST_MAIN(TestWeekOverview)
#include "tst_weekoverview.moc"
