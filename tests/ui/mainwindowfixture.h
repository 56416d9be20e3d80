// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/internettransfer.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <memory>

// A main window started the way the program starts it, from a program folder
// in a temporary directory. start() again is the next start of the program.
class MainWindowFixture final
{
public:
    QTemporaryDir dir;
    QString programFolder = dir.path(); // where the program runs from
    kostwerk::session::ProgramState state;
    kostwerk::platform::InternetTransfer transfer;
    std::unique_ptr<kostwerk::ui::MainWindow> window;

    MainWindowFixture() { transfer.setRequestTimeout(std::chrono::seconds(2)); }

    kostwerk::ui::MainWindow &start(QDate today = QDate(2026, 12, 8))
    {
        window.reset();
        state = kostwerk::session::ProgramState();
        window = std::make_unique<kostwerk::ui::MainWindow>(state, transfer);
        window->startUp(programFolder, today);
        return *window;
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

    // Chooses a menu item, for example "settings" or "info".
    void choose(const char *menuItem) const { control<QAction>(menuItem)->trigger(); }
};
