#pragma once

#include "core/weekchanges.h"
#include "ui/programstate.h"

#include <QDate>
#include <QDateTime>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace kostwerk::platform {
class InternetTransfer;
}

namespace kostwerk::ui {

class InfoF;
class PrintDevice;
class SettingsF;

// The main window: the heading, the weekday choice, the five meal
// categories, the refresh and print buttons, and today's date.
class Kostwerk final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Kostwerk)

public:
    Kostwerk(ProgramState &state, platform::InternetTransfer &transfer, QWidget *parent = nullptr);
    ~Kostwerk() override;

    // The start-up sequence, run before the window is first shown: settings
    // from programFolder, the date line and weekday for today, and the
    // cached week if there is one.
    void Form_Load(const QString &programFolder, QDate today);

    // Prints through device instead of the system's print dialog and printer.
    void usePrintDevice(PrintDevice &device);

    // The index of the checked weekday button, 0 = Montag ... 5 = Samstag;
    // the last one checked, or 0 when none is.
    int selectedWeekday() const;

    // Shows section n of the week (n = weekday index + 1).
    void showDay(qsizetype n);

protected:
    // The dialogs close with the main window, and a running download ends;
    // while the settings dialog keeps the window disabled, it does not close.
    void closeEvent(QCloseEvent *event) override;
    // Where the settings ask for it, an outdated or missing week is fetched
    // once the window has appeared with what the cache holds.
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void createMenus();
    void createShortcuts();
    void setTabOrder();

    void WTauswahl_Click(int index);
    void cmdLoad_Click();
    void cmdWochenplan_Click();
    void printPreview_Click();
    void weekOverview_Click();
    void settings_Click();
    void info_Click();
    void quit_Click();

    // Fetches the week, telling the user on the refresh button while the
    // pages download, and shows the selected weekday from what came in.
    void reloadWeekPlan();

    // The status line's text; cause, the system's own words, goes into
    // its tooltip.
    void showStatus(const QString &text, const QString &cause = QString());
    void setLoadButton(QStringView caption, bool enabled);
    void showCacheStand(QDate today, const core::WeekChanges &changes = {});
    // Bold captions and the description "geändert" on the changed days.
    void markChangedDays(const QList<int> &days);
    // The cached week, if there is a cache file, with what the status line
    // says about it.
    void loadCachedWeek(QDate today);
    PrintDevice &printDevice();

    ProgramState &m_state;
    platform::InternetTransfer &m_transfer;

    QLineEdit *m_ueberschrift = nullptr;
    QGroupBox *m_frame1 = nullptr;
    QButtonGroup *m_wtAuswahl = nullptr;
    std::array<QRadioButton *, 6> m_weekdayButtons{};
    QPlainTextEdit *m_menu1 = nullptr;
    QPlainTextEdit *m_wahlessen = nullptr;
    QPlainTextEdit *m_eintopf = nullptr;
    QPlainTextEdit *m_vegetarisch = nullptr;
    QPlainTextEdit *m_abendessen = nullptr;
    QPushButton *m_cmdLoad = nullptr;
    QPushButton *m_cmdWochenplan = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_datumF = nullptr;
    QLabel *m_status = nullptr;

    // When the shown week was fetched, for the footer of its overview;
    // invalid while that is unknown.
    QDateTime m_weekStand;

    QPointer<SettingsF> m_settingsF;
    QPointer<InfoF> m_infoF;

    bool m_fetchWhenShown = false;  // decided at start-up, done at the first show

    PrintDevice *m_printDevice = nullptr;
    std::unique_ptr<PrintDevice> m_printer;  // the system's, made on first use
};

} // namespace kostwerk::ui
