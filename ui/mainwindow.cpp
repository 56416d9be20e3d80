// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/mainwindow.h"

#include "core/weekdays.h"
#include "platform/internettransfer.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/germandates.h"
#include "ui/infodialog.h"
#include "ui/programicon.h"
#include "ui/refreshbutton.h"
#include "ui/settingsdialog.h"
#include "ui/statusdisplay.h"
#include "ui/statusline.h"
#include "ui/twips.h"
#include "ui/weekpanel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <utility>

namespace kostwerk::ui {

namespace {

constexpr QPoint clientOrigin(Twips::toPixels(915), Twips::toPixels(1005));

using Controls::place;

} // namespace

MainWindow::MainWindow(ProgramState &state, platform::InternetTransfer &transfer, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_transfer(transfer)
    , m_session(state, transfer)
    , m_printing(this)
{
    setObjectName(QStringLiteral("Kostwerk"));
    setWindowTitle(QStringLiteral("Refekt Küchenplan"));
    setWindowIcon(programIcon());
    setFont(Fonts::systemFont(8.25));

    m_panel = new WeekPanel;
    setCentralWidget(m_panel);
    connect(m_panel, &WeekPanel::weekdayChosen, this, &MainWindow::showChosenDay);
    createBottomRow();
    createMenus();
    createShortcuts();
    setTabOrder();

    m_status = new StatusDisplay;
    // The refresh button takes the focus back after each fetch.
    m_status->setAnnouncer(m_cmdLoad);
    statusBar()->addWidget(m_status, 1);
    statusBar()->setSizeGripEnabled(false);

    setGeometry(QRect(clientOrigin, sizeHint()));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

MainWindow::~MainWindow() = default;

void MainWindow::createBottomRow()
{
    m_cmdLoad = place(m_panel, new RefreshButton, "cmdLoad", Twips::rect(240, 5280, 1815, 495));
    connect(m_cmdLoad, &QPushButton::clicked, this, &MainWindow::reloadWeekPlan);

    m_cmdWochenplan = place(m_panel, new QPushButton(QStringLiteral("Wochenplan drucken")), "cmdWochenplan",
                            Twips::rect(2160, 5280, 1815, 495));
    connect(m_cmdWochenplan, &QPushButton::clicked, this, [this] { m_printing.printWeek(m_state.weekPlan); });

    auto *label1 = place(m_panel, new QLabel(QStringLiteral("Heute ist")), "Label1",
                         Twips::rect(4320, 5280, 2055, 195));
    label1->setAlignment(Qt::AlignCenter);
    label1->setFont(Fonts::systemFont(8.25, QFont::Bold));

    m_datumF = place(m_panel, new QLabel(QStringLiteral("Label2")), "datumF", Twips::rect(4320, 5520, 2055, 255));
    m_datumF->setAlignment(Qt::AlignCenter);
}

void MainWindow::createMenus()
{
    QMenu *datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("datei"));
    QAction *settings = datei->addAction(QStringLiteral("&Einstellungen"), this, &MainWindow::openSettings);
    settings->setObjectName(QStringLiteral("settings"));
    datei->addSeparator();
    QAction *printPreview = datei->addAction(QStringLiteral("&Druckvorschau…"), Qt::CTRL | Qt::SHIFT | Qt::Key_P, this,
                                             [this] { m_printing.previewWeek(m_state.weekPlan); });
    printPreview->setObjectName(QStringLiteral("printPreview"));
    QAction *weekOverview = datei->addAction(QStringLiteral("&Wochenübersicht drucken…"),
                                             Qt::CTRL | Qt::SHIFT | Qt::Key_W, this, &MainWindow::previewWeekOverview);
    weekOverview->setObjectName(QStringLiteral("weekOverview"));
    datei->addSeparator();
    QAction *quit = datei->addAction(QStringLiteral("&Beenden"), qApp, &QCoreApplication::quit);
    quit->setObjectName(QStringLiteral("quit"));

    QMenu *infomenu = menuBar()->addMenu(QStringLiteral("&?"));
    infomenu->setObjectName(QStringLiteral("infomenu"));
    QAction *info = infomenu->addAction(QStringLiteral("&Info"), this, &MainWindow::openInfo);
    info->setObjectName(QStringLiteral("info"));
}

void MainWindow::createShortcuts()
{
    // F5 and Ctrl+P click the two buttons.
    const auto clickOnKey = [this](const char *name, QKeySequence::StandardKey key, QPushButton *button) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1StringView(name));
        action->setShortcut(key);
        connect(action, &QAction::triggered, button, &QPushButton::click);
        addAction(action);
    };
    clickOnKey("refreshShortcut", QKeySequence::Refresh, m_cmdLoad);
    clickOnKey("printShortcut", QKeySequence::Print, m_cmdWochenplan);
}

void MainWindow::setTabOrder()
{
    // The refresh button comes first, so it has the focus at start.
    QList<QWidget *> order{m_cmdLoad};
    order << m_panel->tabOrder() << m_cmdWochenplan;
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    m_cmdLoad->setFocus();
}

void MainWindow::startUp(const QString &programFolder, QDate today)
{
    m_datumF->setText(GermanDates::dateLine(today));
    m_panel->selectWeekday(core::Weekdays::todayWeekdayIndex(today));
    m_panel->markToday(core::Weekdays::weekdayIndex(today));
    const StartUpReport report = m_session.start(programFolder, QCoreApplication::applicationFilePath(), today);
    m_fetchWhenShown = report.fetchNow;
    if (m_state.dataLoaded)
        showDay();
    m_status->showMessage(startUpMessage(report, m_session.stand(), today));
}

int MainWindow::selectedWeekday() const
{
    return m_panel->selectedWeekday();
}

void MainWindow::usePrintDevice(PrintDevice &device)
{
    m_printing.useDevice(device);
}

void MainWindow::showChosenDay()
{
    if (m_state.dataLoaded)
        showDay();
}

void MainWindow::showDay()
{
    m_panel->showDay(m_state.weekPlan, selectedWeekday() + 1);
    m_status->showChangedCategories(m_panel->changedCategoriesShown());
}

void MainWindow::reloadWeekPlan()
{
    m_cmdLoad->showFetching();
    const RefreshReport report = m_session.refresh(QDateTime::currentDateTime());
    // The last fetch's marks go, whatever this one brought.
    m_panel->markChanges(report.changes);
    showDay();
    // Told before the button takes the focus back, so that the focus brings it to screen readers.
    m_status->showMessage(refreshMessage(report, m_session.stand(), QDate::currentDate()));
    m_cmdLoad->showFetched();
}

void MainWindow::previewWeekOverview()
{
    const QDateTime stand = m_session.stand();
    m_printing.previewOverview(m_state.weekPlan, stand.isValid() ? StatusLine::stand(stand) : QString());
}

void MainWindow::openSettings()
{
    setEnabled(false);
    m_settingsDialog = new SettingsDialog(m_state.settings, this);
    connect(m_settingsDialog, &SettingsDialog::settingsNotSaved, this, [this](const QString &cause) {
        m_status->showMessage(settingsNotSavedMessage(cause, m_session.stand(), QDate::currentDate()));
    });
    connect(m_settingsDialog, &DialogWindow::closed, this, [this] {
        setEnabled(true);
        activateWindow();
    });
    // Disabling a widget disables its child windows with it. The dialogs are
    // windows of their own and stay usable: a window, unlike a control, can
    // be enabled under a disabled parent.
    m_settingsDialog->setEnabled(true);
    if (m_infoDialog)
        m_infoDialog->setEnabled(true);
    m_settingsDialog->show();
    m_settingsDialog->activateWindow();
}

void MainWindow::openInfo()
{
    if (!m_infoDialog) {
        m_infoDialog = new InfoDialog(this);
        // While the settings dialog is open the focus belongs to it.
        connect(m_infoDialog, &DialogWindow::closed, this, [this] {
            if (isEnabled())
                activateWindow();
        });
    }
    m_infoDialog->show();
    m_infoDialog->raise();
    m_infoDialog->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // While the settings dialog is open the window takes no input, a close
    // from its title bar included.
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    // A close can arrive while reloadWeekPlan waits for a page: the download
    // ends at once, the fetch returns a failure, and the program ends once
    // the click that started the fetch has been handled.
    m_transfer.abort();
    if (m_infoDialog)
        m_infoDialog->close();
    if (m_settingsDialog)
        m_settingsDialog->close();
    QMainWindow::closeEvent(event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (std::exchange(m_fetchWhenShown, false))
        QTimer::singleShot(0, m_cmdLoad, &QPushButton::click);
}

} // namespace kostwerk::ui
