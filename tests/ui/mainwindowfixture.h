// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/internettransfer.h"
#include "session/weeksession.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <chrono>
#include <memory>

// A main window started the way the program starts it, from a program folder
// in a temporary directory, with a clock that stands at noon of the day
// given. start() again is the next start of the program.
class MainWindowFixture final
{
public:
    QTemporaryDir dir;
    QString programFolder = dir.path(); // where the program runs from
    kostwerk::platform::InternetTransfer transfer;
    QDateTime now; // what the session's clock says
    std::unique_ptr<kostwerk::session::WeekSession> session;
    std::unique_ptr<kostwerk::ui::MainWindow> window;

    MainWindowFixture() { transfer.setRequestTimeout(std::chrono::seconds(2)); }

    kostwerk::ui::MainWindow &start(QDate today = QDate(2026, 12, 8))
    {
        window.reset();
        now = QDateTime(today, QTime(12, 0));
        session = std::make_unique<kostwerk::session::WeekSession>(transfer, [this] { return now; });
        window = std::make_unique<kostwerk::ui::MainWindow>(*session);
        window->startUp(programFolder);
        return *window;
    }

    // Clicks the refresh button, or presses key in the window, and waits for
    // the fetch to end.
    bool refresh(Qt::Key key = Qt::Key_unknown) const
    {
        QSignalSpy finished(session.get(), &kostwerk::session::WeekSession::fetchFinished);
        if (key == Qt::Key_unknown)
            QTest::mouseClick(control<QPushButton>("cmdLoad"), Qt::LeftButton);
        else
            QTest::keyClick(window.get(), key);
        return finished.wait(30'000);
    }

    bool writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    QByteArray readFile(const QString &name) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A control of the main window or of one of its dialogs.
    template<typename T = QWidget>
    T *control(const char *name) const
    {
        return window->findChild<T *>(QLatin1StringView(name));
    }

    // The status line's tooltip as Qt shows it: as rich text when it takes
    // the tooltip for rich text.
    QString shownToolTip() const
    {
        const QString toolTip = control("status")->toolTip();
        QTextDocument shown;
        shown.setHtml(toolTip);
        return Qt::mightBeRichText(toolTip) ? shown.toPlainText() : toolTip;
    }

    // Chooses a menu item, for example "settings" or "info".
    void choose(const char *menuItem) const { control<QAction>(menuItem)->trigger(); }
};
