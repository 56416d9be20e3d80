#include "bench/window/startupsample.h"

#include "bench/support/weekpagegenerator.h"
#include "core/cachefile.h"
#include "platform/internettransfer.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <string>

using namespace kostwerk::platform;
using namespace kostwerk::core;
using namespace kostwerk::ui;
using namespace kostwerk::bench;

namespace {

// Set once the watched window has painted.
class FirstPaint final : public QObject
{
public:
    bool painted = false;

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
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

// A program folder holding settings and the cache of an ordinary week.
bool prepareProgramFolder(const QTemporaryDir &folder)
{
    QFile ini(folder.filePath(QStringLiteral("refekt.ini")));
    return ini.open(QIODevice::WriteOnly)
           && ini.write("[Settings]\r\nstartURL=http://127.0.0.1:9/\r\nbasisURL=http://127.0.0.1:9/\r\n"
                        "cacheFile=cache.rfk\r\n") > 0
           && writeCache({folder.path(), QStringLiteral("cache.rfk")},
                         WeekPageGenerator::weekPlan(8 * WeekPageGenerator::KiB))
                  .ok();
}

} // namespace

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

int measureStartup(int argc, char **argv, StartupWindow kind)
{
    QApplication application(argc, argv);
    const QTemporaryDir folder;
    if (!prepareProgramFolder(folder))
        return 1;
    ProgramState state;
    InternetTransfer transfer;

    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QMainWindow> window;
    if (kind == StartupWindow::Kostwerk) {
        auto kostwerk = std::make_unique<MainWindow>(state, transfer);
        kostwerk->startUp(folder.path(), QDate(2026, 12, 8));
        window = std::move(kostwerk);
    } else {
        window = std::make_unique<QMainWindow>();
        if (kind == StartupWindow::TextMainWindow)
            window->setCentralWidget(new QLabel(QStringLiteral("Refekt Küchenplan")));
    }
    FirstPaint firstPaint;
    window->installEventFilter(&firstPaint);
    window->show();
    while (!firstPaint.painted)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const qint64 nanoseconds = clock.nsecsElapsed();

    std::printf("%lld %lld\n", static_cast<long long>(nanoseconds),
                static_cast<long long>(peakResidentBytes()));
    return 0;
}

bool runStartup(const char *program, StartupWindow window, StartupSample &sample)
{
    const std::string command = std::string(program) + ' ' + modeName(window);
    FILE *child = popen(command.c_str(), "r");
    if (!child)
        return false;
    long long nanoseconds = 0;
    long long peakBytes = 0;
    const bool read = std::fscanf(child, "%lld %lld", &nanoseconds, &peakBytes) == 2;
    const bool succeeded = pclose(child) == 0 && read;
    sample = {nanoseconds, peakBytes};
    return succeeded;
}
