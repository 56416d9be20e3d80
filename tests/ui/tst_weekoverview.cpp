#include "core/dayview.h"
#include "core/weekpage.h"
#include "platform/pagedecoding.h"
#include "tests/common/pdftext.h"
#include "ui/printing/weekoverview.h"

#include <QFile>
#include <QPrinter>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace kostwerk::core;
using kostwerk::platform::decodePage;
using namespace kostwerk::ui;

namespace {

const QString stand = u"Stand: 08.12.2026, 14:30"_qs;
constexpr int categories = 5;  // the day view's, without "Frische Salate"

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
        const DayView view = *dayViewOf(week, n);
        texts << view.heading << view.menu1 << view.wahlessen << view.eintopf << view.vegetarisch << view.abendessen;
    }
    return wordPieces(texts.join(u' '));
}

} // namespace

class TestWeekOverview final : public QObject
{
    Q_OBJECT

private slots:
    void pdf_showsEveryDishOnTheFewestPages_data();
    void pdf_showsEveryDishOnTheFewestPages();
};

void TestWeekOverview::pdf_showsEveryDishOnTheFewestPages_data()
{
    QTest::addColumn<WeekPlan>("week");
    QTest::addColumn<bool>("onePage");
    QTest::addColumn<int>("namesEach");  // how often each category name shows; -1: not counted
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

    QVERIFY(printWeekOverview(printer, week, stand));

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

QTEST_MAIN(TestWeekOverview)
#include "tst_weekoverview.moc"
