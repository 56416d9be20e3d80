// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/cachefile.h"
#include "tests/common/cachedweek.h"
#include "tests/common/pdftext.h"
#include "tests/ui/mainwindowfixture.h"
#include "texts/statusline.h"
#include "ui/printing/printerdevice.h"
#include "ui/printing/printouts.h"
#include "ui/printing/printpreview.h"
#include "ui/printing/textprinting.h"

#include <QDialog>
#include <QFileInfo>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <optional>

using namespace kostwerk::ui;

namespace {

// Keeps the text of what each print job draws, from a PDF of the job's own;
// the print dialog answers what it is told, and the printer fails the job it
// is told to. The preview prints one copy as a job.
class RecordingPrintDevice final : public PrintDevice
{
public:
    std::optional<int> answer = 1; // copies, or nothing to cancel
    bool toFile = false;
    int failingJob = -1;
    int dialogsShown = 0;
    QStringList jobs; // by pdftotext -layout; pages end in a form feed

    explicit RecordingPrintDevice(const QString &folder)
        : m_folder(folder)
    {
    }
    std::optional<int> askCopies(QWidget *) override
    {
        ++dialogsShown;
        return answer;
    }
    bool printsToFile() const override { return toFile; }
    bool print(const Paint &paint, int copies) override
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(m_folder + u"/job" + QString::number(jobs.size()) + u".pdf");
        const bool printed = paint(printer, copies);
        jobs.append(pdfText(printer.outputFileName(), {QStringLiteral("-layout")}).value_or(QString()));
        return printed && jobs.size() - 1 != failingJob;
    }
    void preview(QWidget *, const Paint &paint) override { print(paint, 1); }

private:
    QString m_folder;
};

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
    void printPreview_putsEveryToolbarButtonInTheTabChain();
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
    QTest::addColumn<int>("jobs");
    const std::optional<int> cancel;
    QTest::newRow("cancelled prints nothing") << true << false << cancel << -1 << 0;
    QTest::newRow("one copy") << true << false << std::optional<int>(1) << -1 << 1;
    QTest::newRow("two copies are two jobs") << true << false << std::optional<int>(2) << -1 << 2;
    QTest::newRow("Ctrl+P prints like the button") << true << true << std::optional<int>(1) << -1 << 1;
    QTest::newRow("no week: dialog, then nothing") << false << false << std::optional<int>(1) << -1 << 0;
    QTest::newRow("failing printer stops the copies") << true << false << std::optional<int>(3) << 0 << 1;
}

void TestWeekPrinting::print()
{
    QFETCH(bool, weekCached);
    QFETCH(bool, byCtrlP);
    QFETCH(std::optional<int>, answer);
    QFETCH(int, failingJob);
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
    QTest::newRow("sample week")
        << QStringList{u"\r\nSpeiseplan vom 07.12. bis 12.12."_qs,
                       u"\r\nMontag, 07.12.\r\nMenü I\r\nGulasch Nur im Kronenhof erhältlich\r\nFrische Salate\r\nGurkensalat"_qs,
                       u"\r\nDienstag, 08.12.\r\nMenü II (veg.)\r\nTofu Nordhang\r\nAbendessen\r\nBrot"_qs}
        << false << 1;
    QTest::newRow("three copies into one file") << QStringList{u"Montag"_qs, u"Dienstag"_qs} << true << 3;
    QStringList longWeek{u"Speiseplan"_qs};
    for (int day = 1; day <= 6; ++day) {
        QString section = u"Tag "_qs + QString::number(day);
        for (int dish = 1; dish <= 40; ++dish)
            section += u"\r\nGericht "_qs + QString::number(day) + u'.' + QString::number(dish);
        longWeek.append(section);
    }
    QTest::newRow("week longer than a page") << longWeek << true << 1;
    QString wide = u"Ein sehr langes Gericht"_qs;
    for (int word = 1; word <= 60; ++word)
        wide += u" Beilage"_qs + QString::number(word);
    QTest::newRow("line wider than the page") << QStringList{u"Montag"_qs, wide, u"Dienstag"_qs} << false << 1;
}

void TestWeekPrinting::pdf_holdsEveryLineInOrder()
{
    QFETCH(QStringList, week);
    QFETCH(bool, severalPages);
    QFETCH(int, copies);
    m_device->toFile = true;
    m_device->answer = copies;
    QVERIFY(m_fixture->writeFile(u"cache.rfk"_qs, kostwerk::core::CacheFile::encode(week)));
    m_fixture->start();
    m_fixture->window->usePrintDevice(*m_device);

    QTest::mouseClick(m_fixture->control<QPushButton>("cmdWochenplan"), Qt::LeftButton);

    QCOMPARE(m_device->jobs.size(), 1);
    const QString &text = m_device->jobs.constFirst();
    QCOMPARE(words(text), words(QString(week.join(u' ') + u' ').repeated(copies)));
    QCOMPARE(text.count(u'\f') > 1, severalPages);
    // Each copy starts on a new page: the text is the first copy's, repeated.
    QCOMPARE(text.left(text.size() / copies).repeated(copies), text);
}

void TestWeekPrinting::pdf_leadingLineBreakLeavesAnEmptyLine()
{
    // X and Y are one line apart; a section that begins with a line break
    // puts A two lines below Y.
    const QString pdf = m_fixture->dir.filePath(QStringLiteral("zeilen.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QVERIFY(printTexts(printer, {u"X\r\nY"_qs, u"\r\nA"_qs}, 1));

    const std::optional<QString> boxes = pdfText(pdf, {QStringLiteral("-bbox")});
    if (!boxes)
        QSKIP("pdftotext (Debian package poppler-utils) is not installed");
    QHash<QString, double> top;
    const QRegularExpression word(QStringLiteral("<word xMin=\"[\\d.]+\" yMin=\"([\\d.]+)\"[^>]*>(\\w+)</word>"));
    for (const QRegularExpressionMatch &match : word.globalMatch(*boxes))
        top.insert(match.captured(2), match.captured(1).toDouble());
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
    m_device->print(printout == "weekPlan" ? Printouts::weekPlan(week) : Printouts::weekOverview(week, QString()), 1);
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
    // The copies seen in each dialog as it opens.
    QList<int> shownCopies;
    const auto answer = [&](int chosen) {
        QTimer::singleShot(0, this, [&, chosen] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto *spinBox = dialog->findChild<QSpinBox *>(QStringLiteral("copies"));
            shownCopies.append(spinBox ? spinBox->value() : -1);
            if (chosen == 0 || !spinBox) {
                dialog->reject();
                return;
            }
            spinBox->setValue(chosen);
            dialog->accept();
        });
    };

    answer(copies);
    const std::optional<int> result = device.askCopies(nullptr);
    if (shownCopies.value(0) == -1)
        QSKIP("the print dialog of this Qt build has no copies spin box to answer");
    QCOMPARE(result, copies == 0 ? std::nullopt : std::optional<int>(copies));

    // The printer itself is set back to one copy, as each copy is a job.
    answer(0);
    QCOMPARE(device.askCopies(nullptr), std::nullopt);
    QCOMPARE(shownCopies, (QList<int>{1, 1}));
}

void TestWeekPrinting::printPreview_putsEveryToolbarButtonInTheTabChain()
{
    // Catches Qt's own toolbar, whose buttons take no focus.
    PrintPreview preview(nullptr, nullptr); // with a printer of its own
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
}

void TestWeekPrinting::menuItem_previewsItsPrintout_data()
{
    QTest::addColumn<QByteArray>("menuItem"); // each catches a shortcut that misses it, and another printout
    QTest::newRow("Druckvorschau: what the button prints") << QByteArray("printPreview");
    QTest::newRow("Wochenübersicht: the week's overview, its Stand below") << QByteArray("weekOverview");
}

void TestWeekPrinting::menuItem_previewsItsPrintout()
{
    QFETCH(QByteArray, menuItem);
    QVERIFY(m_fixture->writeFile(u"cache.rfk"_qs, CachedWeek::bytes));
    m_fixture->start().usePrintDevice(*m_device);
    m_fixture->window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_fixture->window.get()));
    QTest::keySequence(m_fixture->window.get(), m_fixture->control<QAction>(menuItem.constData())->shortcut());
    const QString stand = kostwerk::texts::StatusLine::stand(
        QFileInfo(m_fixture->dir.filePath(u"cache.rfk"_qs)).lastModified());
    const kostwerk::core::WeekPlan &week = m_fixture->session->week();
    RecordingPrintDevice direct(m_fixture->dir.path() + u"/direct");
    QVERIFY(QDir().mkpath(m_fixture->dir.path() + u"/direct"));
    direct.print(menuItem == "weekOverview" ? Printouts::weekOverview(week, stand) : Printouts::weekPlan(week), 1);
    QCOMPARE(m_device->jobs, direct.jobs);
}

QTEST_MAIN(TestWeekPrinting)
#include "tst_weekprinting.moc"
