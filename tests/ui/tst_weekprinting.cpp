// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/cachefile.h"
#include "core/weekpage.h"
#include "platform/pagedecoding.h"
#include "tests/common/cachedweek.h"
#include "tests/common/pdftext.h"
#include "tests/ui/mainwindowfixture.h"
#include "texts/statusline.h"
#include "ui/printing/printerdevice.h"
#include "ui/printing/printouts.h"
#include "ui/printing/printpreview.h"
#include "ui/printing/textprinting.h"

#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QPrinter>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <optional>

using namespace kostwerk::ui;
namespace WeekPage = kostwerk::core::WeekPage;
using kostwerk::platform::decodePage;

namespace {

// Keeps the text and the name of each print job, from a PDF of the job's
// own; the print dialog answers at once what it is told, and the printer of
// the job it is told to fails. The preview prints one copy as a job.
class RecordingPrintDevice final : public PrintDevice
{
public:
    std::optional<int> answer = 1; // copies, or nothing to cancel
    bool toFile = false;
    int failingJob = -1;
    int dialogsShown = 0;
    QStringList jobs;  // by pdftotext -layout; pages end in a form feed
    QStringList names; // of the jobs printed

    explicit RecordingPrintDevice(const QString &folder)
        : m_folder(folder)
    {
    }
    void askCopies(QWidget *, const QString &, const Answer &answered) override
    {
        ++dialogsShown;
        answered(answer);
    }
    bool printsToFile() const override { return toFile; }
    void preview(QWidget *, const Printout &printout, const Print &) override
    {
        drawWhole(beginJob(), printout);
        endJob(*m_printer);
    }
    QPrinter &beginJob() override
    {
        // The failing job's file would lie in a folder that does not exist.
        const QString folder = m_begun == failingJob ? m_folder + u"/missing" : m_folder;
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setOutputFileName(folder + u"/job" + QString::number(m_begun++) + u".pdf");
        return *m_printer;
    }
    void endJob(QPrinter &printer) override
    {
        if (!QFile::exists(printer.outputFileName()))
            return;
        jobs.append(pdfText(printer.outputFileName(), {QStringLiteral("-layout")}).value_or(QString()));
        names.append(printer.docName());
    }

private:
    QString m_folder;
    std::unique_ptr<QPrinter> m_printer;
    int m_begun = 0;
};

// The words of a PDF with their boxes, and the size of its pages, in points.
struct PdfWords
{
    QSizeF page;
    QList<std::pair<QString, QRectF>> words;
};

std::optional<PdfWords> pdfWords(const QString &pdf)
{
    const std::optional<QString> boxes = pdfText(pdf, {QStringLiteral("-bbox")});
    if (!boxes)
        return std::nullopt;
    static const QRegularExpression page(QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)")re"));
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    const QRegularExpressionMatch size = page.match(*boxes);
    PdfWords found{QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble()), {}};
    for (const QRegularExpressionMatch &match : word.globalMatch(*boxes)) {
        const QPointF topLeft(match.captured(1).toDouble(), match.captured(2).toDouble());
        const QPointF bottomRight(match.captured(3).toDouble(), match.captured(4).toDouble());
        found.words.append({match.captured(5), QRectF(topLeft, bottomRight)});
    }
    return found;
}

// Lets a print run that the window started come to its end.
bool runEnds(const QWidget &window)
{
    auto *progress = window.findChild<QProgressDialog *>();
    return !progress || QSignalSpy(progress, &QObject::destroyed).wait(60'000);
}

} // namespace

class TestWeekPrinting final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void print_data();
    void print();
    void pdf_holdsEveryLineInOrder_data();
    void pdf_holdsEveryLineInOrder();
    void pdf_leadingLineBreakLeavesAnEmptyLine();
    void pdf_hugeWeekIsCutVisibly_data();
    void pdf_hugeWeekIsCutVisibly();
    void printerDevice_returnsTheDialogsCopies_data();
    void printerDevice_returnsTheDialogsCopies();
    void printPreview_tabReachesEveryControl_eachSaysWhatItIs();
    void menuItem_previewsItsPrintout_data();
    void menuItem_previewsItsPrintout();

private:
    std::unique_ptr<MainWindowFixture> m_fixture;
    std::unique_ptr<RecordingPrintDevice> m_device;
};

void TestWeekPrinting::initTestCase()
{
    if (!pdfText(QString(), {}))
        QSKIP("pdftotext (Debian package poppler-utils) is not installed");
}

void TestWeekPrinting::init()
{
    m_fixture = std::make_unique<MainWindowFixture>();
    m_device = std::make_unique<RecordingPrintDevice>(m_fixture->dir.path());
}

void TestWeekPrinting::cleanup()
{
    m_fixture.reset();
    m_device.reset();
}

void TestWeekPrinting::print_data()
{
    QTest::addColumn<bool>("weekCached");
    QTest::addColumn<bool>("byCtrlP");
    QTest::addColumn<std::optional<int>>("answer");
    QTest::addColumn<int>("failingJob");
    QTest::addColumn<int>("abbrechenAtPage"); // the pages drawn when "Abbrechen" is pressed; 0: never
    QTest::addColumn<int>("jobs");
    const std::optional<int> cancel;
    QTest::newRow("cancelled prints nothing") << true << false << cancel << -1 << 0 << 0;
    QTest::newRow("one copy") << true << false << std::optional<int>(1) << -1 << 0 << 1;
    QTest::newRow("two copies are two jobs") << true << false << std::optional<int>(2) << -1 << 0 << 2;
    QTest::newRow("Ctrl+P prints like the button") << true << true << std::optional<int>(1) << -1 << 0 << 1;
    QTest::newRow("no week: dialog, then nothing") << false << false << std::optional<int>(1) << -1 << 0 << 0;
    QTest::newRow("failing printer stops the copies") << true << false << std::optional<int>(3) << 1 << 0 << 1;
    QTest::newRow("Abbrechen stops after the page drawn") << true << false << std::optional<int>(3) << -1 << 1 << 1;
}

void TestWeekPrinting::print()
{
    QFETCH(bool, weekCached);
    QFETCH(bool, byCtrlP);
    QFETCH(std::optional<int>, answer);
    QFETCH(int, failingJob);
    QFETCH(int, abbrechenAtPage);
    QFETCH(int, jobs);
    if (weekCached)
        QVERIFY(m_fixture->writeFile(QStringLiteral("cache.rfk"), CachedWeek::bytes));
    MainWindow &window = m_fixture->start();
    window.usePrintDevice(*m_device);
    m_device->answer = answer;
    m_device->failingJob = failingJob;

    if (byCtrlP) {
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
    } else {
        QTest::mouseClick(m_fixture->control<QPushButton>("cmdWochenplan"), Qt::LeftButton);
    }
    if (abbrechenAtPage > 0) {
        auto *progress = window.findChild<QProgressDialog *>();
        QVERIFY(progress);
        connect(progress->findChild<QProgressBar *>(), &QProgressBar::valueChanged, progress, [=](int drawn) {
            if (drawn == abbrechenAtPage)
                progress->findChild<QPushButton *>()->click();
        });
    }
    QVERIFY(runEnds(window));

    QCOMPARE(m_device->dialogsShown, 1);
    QCOMPARE(m_device->jobs.size(), jobs);
    // Every job is the whole week as held, with the locations and salads
    // that the day view leaves out.
    for (const QString &job : std::as_const(m_device->jobs)) {
        QCOMPARE(words(job), words(m_fixture->session->week().join(u' ')));
        QVERIFY(job.contains(u"Nordhang"_qs) && job.contains(u"Gurkensalat"_qs));
    }
}

void TestWeekPrinting::pdf_holdsEveryLineInOrder_data()
{
    QTest::addColumn<QStringList>("week");
    QTest::addColumn<bool>("severalPages");
    QTest::addColumn<int>("copies");
    QTest::addColumn<QString>("name"); // of the print job and its file
    QTest::newRow("sample week")
        << QStringList{u"\r\nSpeiseplan vom 07.12. bis 12.12."_qs,
                       u"\r\nMontag, 07.12.\r\nMenü I\r\nGulasch Nur im Kronenhof erhältlich\r\nFrische Salate\r\nGurkensalat"_qs,
                       u"\r\nDienstag, 08.12.\r\nMenü II (veg.)\r\nTofu Nordhang\r\nAbendessen\r\nBrot"_qs}
        << false << 1 << u"Wochenplan 07.12.–12.12."_qs;
    QFile page(QStringLiteral(KOSTWERK_SAMPLE_SITE "/uni/refekt/t2026kw50.html"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QStringList sampleSite = WeekPage::parse(decodePage(page.readAll()).text, {}).weekPlan;
    QTest::newRow("the sample site's week") << sampleSite << true << 1 << u"Wochenplan 07.12.–12.12.2026"_qs;
    // Catches the days' dates, which name this week when its title does not, left out.
    QTest::newRow("three copies into one file")
        << QStringList{u"Speiseplan"_qs, u"Montag, 07.12.2026"_qs, u"Dienstag, 08.12.2026"_qs} << true << 3
        << u"Wochenplan 07.12.–08.12.2026"_qs;
    // Catches a day split at the foot of a page.
    QStringList longWeek{u"Speiseplan"_qs};
    for (int day = 1; day <= 6; ++day) {
        QString section = u"Tag "_qs + QString::number(day);
        for (int dish = 1; dish <= 40; ++dish)
            section += u"\r\nGericht "_qs + QString::number(day) + u'.' + QString::number(dish);
        longWeek.append(section);
    }
    QTest::newRow("week longer than a page") << longWeek << true << 1 << u"Wochenplan"_qs;
    QString wide = u"Ein sehr langes Gericht"_qs;
    for (int word = 1; word <= 60; ++word)
        wide += u" Beilage"_qs + QString::number(word);
    QTest::newRow("line wider than the page")
        << QStringList{u"Montag"_qs, wide, u"Dienstag"_qs} << false << 1 << u"Wochenplan"_qs;
}

void TestWeekPrinting::pdf_holdsEveryLineInOrder()
{
    QFETCH(QStringList, week);
    QFETCH(bool, severalPages);
    QFETCH(int, copies);
    QFETCH(QString, name);
    m_device->toFile = true;
    m_device->answer = copies;
    QVERIFY(m_fixture->writeFile(u"cache.rfk"_qs, kostwerk::core::CacheFile::encode(week)));
    m_fixture->start();
    m_fixture->window->usePrintDevice(*m_device);

    QTest::mouseClick(m_fixture->control<QPushButton>("cmdWochenplan"), Qt::LeftButton);
    QVERIFY(runEnds(*m_fixture->window));

    QCOMPARE(m_device->names, QStringList{name});
    const QString &text = m_device->jobs.constFirst();
    // The font's ligatures come back from the PDF as single characters.
    QCOMPARE(words(text.normalized(QString::NormalizationForm_KC)),
             words(QString(week.join(u' ') + u' ').repeated(copies)));
    QCOMPARE(text.count(u'\f') > 1, severalPages);
    // Each copy starts on a new page: the text is the first copy's, repeated.
    QCOMPARE(text.left(text.size() / copies).repeated(copies), text);
    // Each day fits on a page, and its first and last word are on one page.
    QList<int> pageOfWord;
    const QStringList pages = text.split(u'\f');
    for (int p = 0; p < pages.size(); ++p)
        pageOfWord += QList<int>(words(pages[p]).size(), p);
    for (qsizetype first = 0; const QString &section : week) {
        const qsizetype count = words(section).size();
        QVERIFY(count == 0 || pageOfWord[first] == pageOfWord[first + count - 1]);
        first += count;
    }
    // Every word keeps 15 mm, 42.5 points, from each edge of the sheet.
    const std::optional<PdfWords> pdf = pdfWords(m_fixture->dir.filePath(u"job0.pdf"_qs));
    QVERIFY(pdf);
    const QRectF printable = QRectF(QPointF(0, 0), pdf->page).adjusted(42.5, 42.5, -42.5, -42.5);
    for (const auto &[word, box] : pdf->words)
        QVERIFY2(printable.contains(box), qPrintable(word));
}

void TestWeekPrinting::pdf_leadingLineBreakLeavesAnEmptyLine()
{
    // X and Y are one line apart; a section that begins with a line break
    // puts A two lines below Y.
    const QString pdf = m_fixture->dir.filePath(QStringLiteral("zeilen.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QVERIFY(drawWhole(printer, Printouts::weekPlan({u"X\r\nY"_qs, u"\r\nA"_qs})));

    const std::optional<PdfWords> printed = pdfWords(pdf);
    if (!printed)
        QSKIP("pdftotext (Debian package poppler-utils) is not installed");
    QHash<QString, double> top;
    for (const auto &[word, box] : printed->words)
        top.insert(word, box.top());
    QCOMPARE(top.size(), 3);
    const double pitch = top[u"Y"_qs] - top[u"X"_qs];
    QVERIFY(pitch > 0);
    QVERIFY(qAbs(top[u"A"_qs] - top[u"Y"_qs] - 2 * pitch) < 0.5);
}

void TestWeekPrinting::pdf_hugeWeekIsCutVisibly_data()
{
    QTest::addColumn<QByteArray>("printout");
    QTest::addColumn<int>("marks"); // how many "…" are printed
    // Each catches a cut without its mark: the week plan leaves out lines of
    // its section, the overview those of a cell and the end of a long run.
    QTest::newRow("Wochenplan drucken") << QByteArray("weekPlan") << 1;
    QTest::newRow("Wochenübersicht") << QByteArray("weekOverview") << 2;
}

void TestWeekPrinting::pdf_hugeWeekIsCutVisibly()
{
    QFETCH(QByteArray, printout);
    QFETCH(int, marks);
    const QString day = u"Montag\r\nMenü I\r\n"_qs + u"Gulaschsuppe"_qs.repeated(2'000) + u"\r\nWahlessen"_qs
                        + u"\r\nBrot"_qs.repeated(2'500) + u"\r\nFrische Salate"_qs;
    const kostwerk::core::WeekPlan week{u"Speiseplan"_qs, day};
    m_device->preview(
        nullptr, printout == "weekPlan" ? Printouts::weekPlan(week) : Printouts::weekOverview(week, QString()), {});
    const QString &text = m_device->jobs.constFirst();
    QCOMPARE(text.count(u'…'), marks);
    QVERIFY(text.contains(u" weitere Zeilen)"_qs));
    QVERIFY(text.contains(u"GulaschsuppeGulaschsuppe"_qs)); // the run up to its cut
}

void TestWeekPrinting::printerDevice_returnsTheDialogsCopies_data()
{
    QTest::addColumn<int>("copies"); // 0: cancel the dialog
    QTest::newRow("cancelled") << 0;
    QTest::newRow("three copies") << 3;
}

void TestWeekPrinting::printerDevice_returnsTheDialogsCopies()
{
    QFETCH(int, copies);
    PrinterDevice device;
    // The copies seen in each dialog as it opens, and what the dialog said.
    QList<int> shownCopies;
    std::optional<int> result;
    const auto answer = [&](int chosen) {
        device.askCopies(nullptr, u"Wochenplan"_qs, [&](std::optional<int> answered) { result = answered; });
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto *spinBox = dialog->findChild<QSpinBox *>(QStringLiteral("copies"));
        shownCopies.append(spinBox ? spinBox->value() : -1);
        if (chosen == 0 || !spinBox)
            return dialog->reject();
        spinBox->setValue(chosen);
        dialog->accept();
    };

    answer(copies);
    if (shownCopies.value(0) == -1)
        QSKIP("the print dialog of this Qt build has no copies spin box to answer");
    QCOMPARE(result, copies == 0 ? std::nullopt : std::optional<int>(copies));

    // The printer itself is set back to one copy, as each copy is a job.
    result = 1;
    answer(0);
    QCOMPARE(result, std::nullopt);
    QCOMPARE(shownCopies, (QList<int>{1, 1}));
}

void TestWeekPrinting::printPreview_tabReachesEveryControl_eachSaysWhatItIs()
{
    // Catches Qt's own toolbar, whose buttons take no focus.
    PrintPreview preview(nullptr, QString(), nullptr); // with a printer of its own
    preview.show();
    QVERIFY(QTest::qWaitForWindowActive(&preview));
    QSet<QWidget *> reached;
    for (int tab = 0; tab < 50; ++tab) { // twice round the chain at least
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.insert(QApplication::focusWidget());
    }
    for (QToolButton *button : preview.findChildren<QToolButton *>()) {
        if (button->isVisible() && button->isEnabled())
            QVERIFY2(reached.contains(button), qPrintable(button->text()));
    }
    // Catches a control a screen reader announces by its value alone ("38.5%").
    for (QWidget *widget : std::as_const(reached)) {
        QWidget *read = qobject_cast<QComboBox *>(widget->parentWidget()) ? widget->parentWidget() : widget;
        const QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(read);
        const QString name = accessible->text(QAccessible::Name);
        QVERIFY2((!name.isEmpty() && name != accessible->text(QAccessible::Value))
                     || !accessible->text(QAccessible::Description).isEmpty(),
                 read->metaObject()->className());
    }
}

void TestWeekPrinting::menuItem_previewsItsPrintout_data()
{
    QTest::addColumn<QByteArray>("menuItem"); // each catches a shortcut that misses it, and another printout
    QTest::addColumn<bool>("weekCached");
    QTest::newRow("Druckvorschau: what the button prints") << QByteArray("printPreview") << true;
    QTest::newRow("Wochenübersicht: the week's overview, its Stand below") << QByteArray("weekOverview") << true;
    QTest::newRow("Druckvorschau without a week: the overview's note") << QByteArray("printPreview") << false;
}

void TestWeekPrinting::menuItem_previewsItsPrintout()
{
    QFETCH(QByteArray, menuItem);
    QFETCH(bool, weekCached);
    QVERIFY(!weekCached || m_fixture->writeFile(u"cache.rfk"_qs, CachedWeek::bytes));
    m_fixture->start().usePrintDevice(*m_device);
    m_fixture->window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_fixture->window.get()));
    QTest::keySequence(m_fixture->window.get(), m_fixture->control<QAction>(menuItem.constData())->shortcut());
    const QString stand = kostwerk::texts::StatusLine::stand(
        QFileInfo(m_fixture->dir.filePath(u"cache.rfk"_qs)).lastModified());
    const kostwerk::core::WeekPlan &week = m_fixture->session->week();
    RecordingPrintDevice direct(m_fixture->dir.path() + u"/direct");
    QVERIFY(QDir().mkpath(m_fixture->dir.path() + u"/direct"));
    direct.preview(nullptr,
                   menuItem == "weekOverview" ? Printouts::weekOverview(week, stand) : Printouts::weekPlan(week), {});
    QCOMPARE(m_device->jobs, direct.jobs);
    QCOMPARE(direct.jobs.constFirst().contains(u"Kein Wochenplan vorhanden"_qs), !weekCached);
}

QTEST_MAIN(TestWeekPrinting)
#include "tst_weekprinting.moc"
