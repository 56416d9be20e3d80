// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/printing/weekprinting.h"
#include "ui/programstate.h"
#include "ui/weeksession.h"

#include <QDate>
#include <QMainWindow>
#include <QPointer>

class QLabel;
class QPushButton;

namespace kostwerk::platform {
class InternetTransfer;
}

namespace kostwerk::ui {

class InfoDialog;
class PrintDevice;
class RefreshButton;
class SettingsDialog;
class StatusDisplay;
class WeekPanel;

// The main window "Refekt Küchenplan": the week panel, below it the refresh
// and print buttons and today's date, the menus and the status line.
class MainWindow final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    MainWindow(ProgramState &state, platform::InternetTransfer &transfer, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Run before the window is first shown: the settings from programFolder,
    // the date line and weekday for today, and the cached week if there is
    // one.
    void startUp(const QString &programFolder, QDate today);

    // Prints through device instead of the system's print dialog and printer.
    void usePrintDevice(PrintDevice &device);

    // The index of the chosen weekday, 0 = Montag ... 5 = Samstag.
    int selectedWeekday() const;

protected:
    // The dialogs close with the main window, and a running download ends;
    // while the settings dialog keeps the window disabled, it does not close.
    void closeEvent(QCloseEvent *event) override;
    // Where the settings ask for it, an outdated or missing week is fetched
    // once the window has appeared with what the cache holds.
    void showEvent(QShowEvent *event) override;

private:
    void createBottomRow();
    void createMenus();
    void createShortcuts();
    void setTabOrder();

    // Shows the chosen weekday, once there is a week to show it from.
    void showChosenDay();
    // Shows the chosen weekday from the week, and what the last fetch
    // changed on it.
    void showDay();
    // Fetches the week, telling the user on the refresh button while the
    // pages download, and shows the chosen weekday from what came in.
    void reloadWeekPlan();
    void previewWeekOverview();
    void openSettings();
    void openInfo();

    ProgramState &m_state;
    platform::InternetTransfer &m_transfer;
    WeekSession m_session;
    WeekPrinting m_printing;

    WeekPanel *m_panel = nullptr;
    RefreshButton *m_cmdLoad = nullptr;
    QPushButton *m_cmdWochenplan = nullptr;
    QLabel *m_datumF = nullptr;
    StatusDisplay *m_status = nullptr;

    QPointer<SettingsDialog> m_settingsDialog;
    QPointer<InfoDialog> m_infoDialog;

    bool m_fetchWhenShown = false; // decided at start-up, done at the first show
};

} // namespace kostwerk::ui
