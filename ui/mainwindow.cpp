// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/mainwindow.h"

#include "core/weekdays.h"
#include "platform/internettransfer.h"
#include "texts/germandates.h"
#include "texts/statusline.h"
#include "ui/fonts.h"
#include "ui/infodialog.h"
#include "ui/mainwindowlayout.h"
#include "ui/programicon.h"
#include "ui/refreshbutton.h"
#include "ui/settingsdialog.h"
#include "ui/statusdisplay.h"
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

namespace Layout = MainWindowLayout;
using Controls::place;

// Adds an item to menu, named as the layout table says.
template<typename... Arguments>
QAction *addItem(QMenu *menu, const Layout::MenuEntry &entry, Arguments &&...arguments)
{
    QAction *item = menu->addAction(entry.caption.toString(), std::forward<Arguments>(arguments)...);
    item->setObjectName(QLatin1StringView(entry.name));
    return item;
}

QMenu *addMenu(QMenuBar *menuBar, const Layout::MenuEntry &entry)
{
    QMenu *menu = menuBar->addMenu(entry.caption.toString());
    menu->setObjectName(QLatin1StringView(entry.name));
    return menu;
}

} // namespace

MainWindow::MainWindow(session::ProgramState &state, platform::InternetTransfer &transfer, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_transfer(transfer)
    , m_session(state, transfer)
    , m_printing(this)
{
    setObjectName(QLatin1StringView(Layout::window));
    setWindowTitle(Layout::caption.toString());
    setWindowIcon(programIcon());
    setFont(Fonts::systemFont(8.25));

    m_weekPanel = new WeekPanel;
    setCentralWidget(m_weekPanel);
    connect(m_weekPanel, &WeekPanel::weekdayChosen, this, &MainWindow::showChosenDay);
    createBottomRow();
    createMenus();
    createShortcuts();
    setTabOrder();

    m_status = new StatusDisplay;
    // The refresh button takes the focus back after each fetch.
    m_status->setAnnouncer(m_refreshButton);
    statusBar()->addWidget(m_status, 1);
    statusBar()->setSizeGripEnabled(false);

    setGeometry(QRect(Layout::clientOrigin, sizeHint()));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

MainWindow::~MainWindow() = default;

void MainWindow::createBottomRow()
{
    m_refreshButton = place(m_weekPanel, new RefreshButton, Layout::refreshButton);
    connect(m_refreshButton, &QPushButton::clicked, this, &MainWindow::reloadWeekPlan);

    m_printButton = place(m_weekPanel, new QPushButton(Layout::printButton.caption.toString()), Layout::printButton);
    connect(m_printButton, &QPushButton::clicked, this, [this] { m_printing.printWeek(m_state.weekPlan); });

    auto *todayLabel = place(m_weekPanel, new QLabel(Layout::todayLabel.caption.toString()), Layout::todayLabel);
    todayLabel->setAlignment(Qt::AlignCenter);
    todayLabel->setFont(Fonts::systemFont(8.25, QFont::Bold));

    m_dateLabel = place(m_weekPanel, new QLabel(Layout::dateLabel.caption.toString()), Layout::dateLabel);
    m_dateLabel->setAlignment(Qt::AlignCenter);
}

void MainWindow::createMenus()
{
    QMenu *fileMenu = addMenu(menuBar(), Layout::fileMenu);
    addItem(fileMenu, Layout::settingsItem, this, &MainWindow::openSettings);
    fileMenu->addSeparator();
    addItem(fileMenu, Layout::printPreviewItem, Qt::CTRL | Qt::SHIFT | Qt::Key_P, this,
            [this] { m_printing.previewWeek(m_state.weekPlan); });
    addItem(fileMenu, Layout::weekOverviewItem, Qt::CTRL | Qt::SHIFT | Qt::Key_W, this,
            &MainWindow::previewWeekOverview);
    fileMenu->addSeparator();
    addItem(fileMenu, Layout::quitItem, qApp, &QCoreApplication::quit);

    QMenu *helpMenu = addMenu(menuBar(), Layout::helpMenu);
    addItem(helpMenu, Layout::infoItem, this, &MainWindow::openInfo);
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
    clickOnKey("refreshShortcut", QKeySequence::Refresh, m_refreshButton);
    clickOnKey("printShortcut", QKeySequence::Print, m_printButton);
}

void MainWindow::setTabOrder()
{
    // The refresh button comes first, so it has the focus at start.
    QList<QWidget *> order{m_refreshButton};
    order << m_weekPanel->tabOrder() << m_printButton;
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    m_refreshButton->setFocus();
}

void MainWindow::startUp(const QString &programFolder, QDate today)
{
    m_dateLabel->setText(texts::GermanDates::dateLine(today));
    m_weekPanel->selectWeekday(core::Weekdays::todayWeekdayIndex(today));
    const session::StartUpReport report = m_session.start(programFolder, QCoreApplication::applicationFilePath(),
                                                          today);
    m_fetchWhenShown = report.fetchNow;
    if (m_state.dataLoaded)
        m_weekPanel->showDay(m_state.weekPlan, selectedWeekday() + 1);
    m_status->showMessage(texts::startUpMessage(report, m_session.stand(), today));
}

int MainWindow::selectedWeekday() const
{
    return m_weekPanel->selectedWeekday();
}

void MainWindow::usePrintDevice(PrintDevice &device)
{
    m_printing.useDevice(device);
}

void MainWindow::showChosenDay()
{
    if (m_state.dataLoaded)
        m_weekPanel->showDay(m_state.weekPlan, selectedWeekday() + 1);
}

void MainWindow::reloadWeekPlan()
{
    m_refreshButton->showFetching();
    const session::RefreshReport report = m_session.refresh(QDateTime::currentDateTime());
    // The last fetch's marks go, whatever this one brought.
    m_weekPanel->markChangedDays(report.changes.changedDays);
    m_weekPanel->showDay(m_state.weekPlan, selectedWeekday() + 1);
    // Told before the button takes the focus back, so that the focus brings it to screen readers.
    m_status->showMessage(texts::refreshMessage(report, m_session.stand(), QDate::currentDate()));
    m_refreshButton->showFetched();
}

void MainWindow::previewWeekOverview()
{
    const QDateTime stand = m_session.stand();
    m_printing.previewOverview(m_state.weekPlan, stand.isValid() ? texts::StatusLine::stand(stand) : QString());
}

void MainWindow::openSettings()
{
    setEnabled(false);
    m_settingsDialog = new SettingsDialog(m_state.settings, this);
    connect(m_settingsDialog, &SettingsDialog::settingsNotSaved, this, [this](const QString &cause) {
        m_status->showMessage(texts::settingsNotSavedMessage(cause, m_session.stand(), QDate::currentDate()));
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
        QTimer::singleShot(0, m_refreshButton, &QPushButton::click);
}

} // namespace kostwerk::ui
