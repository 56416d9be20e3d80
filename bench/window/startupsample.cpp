// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/window/startupsample.h"

#include "bench/support/weekpagegenerator.h"
#include "core/cachefile.h"
#include "platform/internettransfer.h"
#include "session/weeksession.h"
#include "ui/mainwindow.h"
#include "ui/printing/printdevice.h"
#include "ui/printing/printout.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <string>

using namespace kostwerk::platform;
using namespace kostwerk::core;
using namespace kostwerk::session;
using namespace kostwerk::ui;
using namespace kostwerk::bench;

namespace {

// Set, and the event loop ended, once the watched window has painted.
class FirstPaint final : public QObject
{
public:
    bool painted = false;

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            QCoreApplication::exit();
        }
        return false;
    }
};

// Watches the whole application for the first paint inside a print
// preview; once that paint is done, it reads the clock and closes the
// preview.
class PreviewPaint final : public QObject
{
public:
    explicit PreviewPaint(const QElapsedTimer &clock)
        : m_clock(clock)
    {
    }
    qint64 nanoseconds = -1;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        auto *preview = widget ? qobject_cast<QPrintPreviewDialog *>(widget->window()) : nullptr;
        if (preview && widget != preview && event->type() == QEvent::Paint && nanoseconds < 0) {
            nanoseconds = 0;
            // Runs once the paint is over.
            QTimer::singleShot(0, preview, [this, preview] {
                nanoseconds = m_clock.nsecsElapsed();
                preview->reject();
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    const QElapsedTimer &m_clock;
};

// Prints the copies it is told into one file, as the print dialog would
// with "Print to File".
class FileDevice final : public PrintDevice
{
public:
    FileDevice(const QString &file, int copies)
        : m_copies(copies)
    {
        m_printer.setOutputFileName(file);
    }
    void askCopies(QWidget *, const QString &, const Answer &answer) override { answer(m_copies); }
    bool printsToFile() const override { return true; }
    void preview(QWidget *, const Printout &printout, const Print &) override { drawWhole(m_printer, printout); }
    QPrinter &beginJob() override { return m_printer; }
    void endJob(QPrinter &) override {}

private:
    QPrinter m_printer{QPrinter::HighResolution};
    int m_copies;
};

// The process's high-water mark of resident memory (VmHWM), in bytes.
qint64 peakResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return 0;
}

void showAndWaitForPaint(QWidget &window)
{
    FirstPaint firstPaint;
    window.installEventFilter(&firstPaint);
    window.show();
    if (!firstPaint.painted)
        QCoreApplication::exec();
    window.removeEventFilter(&firstPaint);
}

int printSample(qint64 nanoseconds, qint64 longestStepNanoseconds = 0)
{
    std::printf("%lld %lld %lld\n", static_cast<long long>(nanoseconds), static_cast<long long>(peakResidentBytes()),
                static_cast<long long>(longestStepNanoseconds));
    return 0;
}

bool runSample(const std::string &command, StartupSample &sample)
{
    FILE *child = popen(command.c_str(), "r");
    if (!child)
        return false;
    long long nanoseconds = 0;
    long long peakBytes = 0;
    long long longestStep = 0;
    const bool read = std::fscanf(child, "%lld %lld %lld", &nanoseconds, &peakBytes, &longestStep) == 3;
    const bool succeeded = pclose(child) == 0 && read;
    sample = {nanoseconds, peakBytes, longestStep};
    return succeeded;
}

// The Tuesday of the generated weeks.
const QDate startDay(2026, 12, 8);

// Prints 99 copies of the window's week into file: the time from the click
// to the whole file, and the longest the event loop could not answer, seen by
// a timer that wants to run every 10 ms.
int measurePrintCopies(MainWindow &window, const QString &file)
{
    FileDevice device(file, 99);
    window.usePrintDevice(device);
    QElapsedTimer clock;
    clock.start();
    QElapsedTimer sinceTick;
    sinceTick.start();
    qint64 longestStep = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longestStep = qMax(longestStep, sinceTick.nsecsElapsed());
        sinceTick.restart();
    });
    ticks.start(10);
    window.findChild<QPushButton *>(QStringLiteral("cmdWochenplan"))->click();
    longestStep = qMax(longestStep, sinceTick.nsecsElapsed());
    auto *progress = window.findChild<QProgressDialog *>();
    if (!progress)
        return 1;
    QObject::connect(progress, &QObject::destroyed, qApp, &QCoreApplication::quit);
    QApplication::exec();
    return printSample(clock.nsecsElapsed(), longestStep);
}

} // namespace

bool prepareProgramFolder(const QString &programFolder, const WeekPlan &weekPlan)
{
    QFile ini(programFolder + QStringLiteral("/refekt.ini"));
    return ini.open(QIODevice::WriteOnly)
           && ini.write("[Settings]\r\nstartURL=http://127.0.0.1:9/\r\nbasisURL=http://127.0.0.1:9/\r\n"
                        "cacheFile=cache.rfk\r\n")
                  > 0
           && writeCache({programFolder, QStringLiteral("cache.rfk")}, weekPlan).ok();
}

const char *modeName(StartupWindow window)
{
    switch (window) {
    case StartupWindow::Kostwerk:
        return "--startup-kostwerk";
    case StartupWindow::BareMainWindow:
        return "--startup-bare";
    case StartupWindow::TextMainWindow:
        break;
    }
    return "--startup-text";
}

const char *modeName(Opening opening)
{
    switch (opening) {
    case Opening::Day:
        return "--open-day";
    case Opening::WeekOverview:
        return "--open-overview";
    case Opening::PrintPreview:
        return "--open-preview";
    case Opening::PrintCopies:
        break;
    }
    return "--print-copies";
}

int measureStartup(int argc, char **argv, StartupWindow kind)
{
    QApplication application(argc, argv);
    const QTemporaryDir folder;
    if (!prepareProgramFolder(folder.path(), WeekPageGenerator::weekPlan(8 * WeekPageGenerator::KiB)))
        return 1;
    InternetTransfer transfer;
    WeekSession session(transfer, [] { return startDay.startOfDay(); });

    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QMainWindow> window;
    if (kind == StartupWindow::Kostwerk) {
        auto kostwerk = std::make_unique<MainWindow>(session);
        kostwerk->startUp(folder.path());
        window = std::move(kostwerk);
    } else {
        window = std::make_unique<QMainWindow>();
        if (kind == StartupWindow::TextMainWindow)
            window->setCentralWidget(new QLabel(QStringLiteral("Refekt Küchenplan")));
    }
    showAndWaitForPaint(*window);
    return printSample(clock.nsecsElapsed());
}

int measureOpening(int argc, char **argv, Opening opening, const char *programFolder)
{
    QApplication application(argc, argv);
    InternetTransfer transfer;
    WeekSession session(transfer, [] { return startDay.startOfDay(); });

    QElapsedTimer clock;
    clock.start();
    MainWindow window(session);
    window.startUp(QString::fromLocal8Bit(programFolder));
    showAndWaitForPaint(window);
    if (opening == Opening::Day)
        return printSample(clock.nsecsElapsed());
    if (opening == Opening::PrintCopies)
        return measurePrintCopies(window, QString::fromLocal8Bit(programFolder) + QStringLiteral("/copies.pdf"));

    PreviewPaint previewPaint(clock);
    application.installEventFilter(&previewPaint);
    QAction *item = window.findChild<QAction *>(opening == Opening::WeekOverview ? QStringLiteral("weekOverview")
                                                                                 : QStringLiteral("printPreview"));
    clock.start();
    item->trigger();
    QApplication::exec(); // until the preview has painted
    return previewPaint.nanoseconds > 0 ? printSample(previewPaint.nanoseconds) : 1;
}

bool runStartup(const char *program, StartupWindow window, StartupSample &sample)
{
    return runSample(std::string(program) + ' ' + modeName(window), sample);
}

bool runOpening(const char *program, Opening opening, const QString &programFolder, StartupSample &sample)
{
    return runSample(std::string(program) + ' ' + modeName(opening) + " '" + programFolder.toStdString() + '\'',
                     sample);
}
