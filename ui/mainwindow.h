// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "session/weeksession.h"
#include "ui/printing/weekprinting.h"

#include <QMainWindow>
#include <QPointer>

class QLabel;
class QPushButton;

namespace kostwerk::ui {

class InfoDialog;
class PrintDevice;
class SettingsDialog;
class StatusDisplay;
class WeekPanel;

// The main window "Refekt Küchenplan": the week panel, below it the refresh
// and print buttons and today's date, the menus and the status line. It
// shows the session's week and what the session announces; while a fetch
// runs, its controls and menus take no input, but it still paints and can
// be closed.
class MainWindow final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    explicit MainWindow(session::WeekSession &session, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Run before the window is first shown: the settings from programFolder,
    // the date line and weekday for the session's today, and the cached week
    // if there is one.
    void startUp(const QString &programFolder);

    // Prints through device instead of the system's print dialog and printer.
    void usePrintDevice(PrintDevice &device);

    // The index of the chosen weekday, 0 = Montag ... 5 = Samstag.
    int selectedWeekday() const;

protected:
    // The dialogs close with the main window, and a running fetch ends at
    // once; while the settings dialog keeps the window disabled, it does not
    // close.
    void closeEvent(QCloseEvent *event) override;
    // Where the settings ask for it, an outdated or missing week is fetched
    // once the window has appeared with what the cache holds.
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createBottomRow();
    void createMenus();
    void createShortcuts();
    void setTabOrder();
    // The window opens at its usual place, unless part of it would lie off
    // the screen's free area there (a small screen, a large scale); then,
    // and when a second status line makes it taller, it moves onto it.
    void keepOnScreen();

    // Shows the chosen weekday, once there is a week to show it from.
    void showChosenDay();
    // Shows the chosen weekday from the week, and what the last fetch
    // changed on it.
    void showDay();
    void showWeek(const core::WeekChanges &changes);
    // While a fetch runs, the refresh button reads "Bitte warten...", the
    // controls and menus take no input and the status line tells which page
    // is being fetched; afterwards it tells what came in.
    void showFetching();
    void showFetchStep(core::WeekPlanFetch::Step step);
    void showFetched(const session::RefreshReport &report);
    void showSettingsSaved(const platform::WriteResult &saved);
    void previewWeekOverview();
    void openSettings();
    void openInfo();

    session::WeekSession &m_session;
    WeekPrinting m_printing;

    WeekPanel *m_weekPanel = nullptr;
    QPushButton *m_refreshButton = nullptr;
    QPushButton *m_printButton = nullptr;
    QLabel *m_dateLabel = nullptr;
    StatusDisplay *m_status = nullptr;

    QPointer<SettingsDialog> m_settingsDialog;
    QPointer<InfoDialog> m_infoDialog;

    bool m_fetchWhenShown = false; // decided at start-up, done at the first show
};

} // namespace kostwerk::ui
