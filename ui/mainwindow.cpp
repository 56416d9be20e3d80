// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/mainwindow.h"

#include "core/weekdays.h"
#include "settings/settings.h"
#include "texts/captions.h"
#include "texts/germandates.h"
#include "texts/statusline.h"
#include "texts/statusmessages.h"
#include "ui/fonts.h"
#include "ui/infodialog.h"
#include "ui/mainwindowlayout.h"
#include "ui/programicon.h"
#include "ui/settingsdialog.h"
#include "ui/statusdisplay.h"
#include "ui/weekpanel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include <utility>

namespace kostwerk::ui {

namespace {

namespace Captions = texts::Captions;
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

// A hint to set the canteen's address has done its job once it is set.
bool hasDoneItsJob(const QString &status, const settings::Settings &settings)
{
    using namespace settings::SettingsStore;
    return (status.contains(texts::StatusLine::noSiteSet()) && !hasPlaceholderStart(settings))
           || (status.contains(texts::StatusLine::noBasisSet()) && !hasPlaceholderBasis(settings));
}

// The label's box was measured for a narrower face than most systems have:
// "Donnerstag, der 10.12.26" would lose its first and last letters. A
// slightly smaller size keeps the line whole.
void shrinkToFit(QLabel &label)
{
    constexpr qreal smallest = 6;
    QFont font = label.font();
    while (font.pointSizeF() > smallest
           && QFontMetrics(font).horizontalAdvance(label.text()) > label.contentsRect().width())
        font.setPointSizeF(font.pointSizeF() - 0.25);
    label.setFont(font);
}

} // namespace

MainWindow::MainWindow(session::WeekSession &session, QWidget *parent)
    : QMainWindow(parent)
    , m_session(session)
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

    using session::WeekSession;
    connect(&m_session, &WeekSession::weekChanged, this,
            [this](const core::WeekPlan &, const core::WeekChanges &changes) { showWeek(changes); });
    connect(&m_session, &WeekSession::fetchStarted, this, &MainWindow::showFetching);
    connect(&m_session, &WeekSession::fetchStep, this, &MainWindow::showFetchStep);
    connect(&m_session, &WeekSession::fetchFinished, this, &MainWindow::showFetched);
    connect(&m_session, &WeekSession::settingsChanged, this, &MainWindow::showSettingsSaved);
}

MainWindow::~MainWindow() = default;

void MainWindow::createBottomRow()
{
    m_refreshButton = place(m_weekPanel, new QPushButton(Captions::refreshFirst.toString()), Layout::refreshButton);
    connect(m_refreshButton, &QPushButton::clicked, &m_session, &session::WeekSession::refresh);

    m_printButton = place(m_weekPanel, new QPushButton(Layout::printButton.caption.toString()), Layout::printButton);
    connect(m_printButton, &QPushButton::clicked, this, [this] { m_printing.printWeek(m_session.week()); });

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
            [this] { m_printing.previewWeek(m_session.week()); });
    addItem(fileMenu, Layout::weekOverviewItem, Qt::CTRL | Qt::SHIFT | Qt::Key_W, this,
            &MainWindow::previewWeekOverview);
    fileMenu->addSeparator();
    addItem(fileMenu, Layout::quitItem, QKeySequence::Quit, qApp, &QCoreApplication::quit);

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

void MainWindow::startUp(const QString &programFolder)
{
    const QDate today = m_session.today();
    m_dateLabel->setText(texts::GermanDates::dateLine(today));
    shrinkToFit(*m_dateLabel);
    m_weekPanel->selectWeekday(core::Weekdays::todayWeekdayIndex(today));
    m_weekPanel->markToday(core::Weekdays::weekdayIndex(today));
    const session::StartUpReport report = m_session.start(programFolder, QCoreApplication::applicationFilePath());
    m_fetchWhenShown = report.fetchNow;
    m_status->showMessage(texts::startUpMessage(report, m_session.age()));
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
    if (m_session.dataLoaded())
        showDay();
}

void MainWindow::showDay()
{
    m_weekPanel->showDay(m_session.week(), selectedWeekday() + 1);
    m_status->showChangedCategories(m_weekPanel->changedCategoriesShown());
}

void MainWindow::showWeek(const core::WeekChanges &changes)
{
    // The last fetch's marks go, whatever this one brought.
    m_weekPanel->markChanges(changes);
    showChosenDay();
}

void MainWindow::showFetching()
{
    // Where the window has the focus, the status line takes it while the
    // fetch runs, so that screen readers read each step, and the refresh
    // button once it takes the focus back.
    QWidget *focus = QApplication::focusWidget();
    const bool focusHere = focus && isAncestorOf(focus);
    m_refreshButton->setText(Captions::refreshWaiting.toString());
    m_weekPanel->setEnabled(false);
    menuBar()->setEnabled(false);
    if (focusHere)
        m_status->setFocus();
}

void MainWindow::showFetchStep(core::WeekPlanFetch::Step step)
{
    m_status->showMessage({texts::StatusLine::fetching(step), {}});
}

void MainWindow::showFetched(const session::RefreshReport &report)
{
    // Told before the focus comes back, so that the focus brings it to screen readers.
    m_status->showMessage(texts::refreshMessage(report, m_session.age()));
    m_refreshButton->setText(Captions::refreshAgain.toString());
    m_weekPanel->setEnabled(true);
    menuBar()->setEnabled(true);
    // Ready for the next fetch, wherever the focus was: a fetch at start
    // or by F5 leaves it on the button as a click does.
    m_refreshButton->setFocus();
    // Last, so that what the focus says does not cut it off.
    m_status->announce();
}

void MainWindow::showSettingsSaved(const platform::WriteResult &saved)
{
    if (!saved)
        m_status->showMessage(texts::settingsNotSavedMessage(texts::StatusLine::cause(saved.failure), m_session.age()));
    else if (hasDoneItsJob(m_status->message().text, m_session.settings()))
        m_status->showMessage(texts::siteSetMessage(m_session.age()));
}

void MainWindow::previewWeekOverview()
{
    const QDateTime stand = m_session.stand();
    m_printing.previewOverview(m_session.week(), stand.isValid() ? texts::StatusLine::stand(stand) : QString());
}

void MainWindow::openSettings()
{
    setEnabled(false);
    m_settingsDialog = new SettingsDialog(m_session, this);
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
    // A close can arrive while a page downloads: the fetch ends at once, as
    // a failed one.
    m_session.abort();
    if (m_infoDialog)
        m_infoDialog->close();
    if (m_settingsDialog)
        m_settingsDialog->close();
    QMainWindow::closeEvent(event);
}

void MainWindow::keepOnScreen()
{
    const QRect free = screen()->availableGeometry();
    QRect frame = frameGeometry();
    if (free.contains(frame))
        return;
    frame.moveRight(qMin(frame.right(), free.right()));
    frame.moveBottom(qMin(frame.bottom(), free.bottom()));
    frame.moveLeft(qMax(frame.left(), free.left()));
    frame.moveTop(qMax(frame.top(), free.top()));
    move(frame.topLeft());
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (isVisible())
        keepOnScreen();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    keepOnScreen();
    if (std::exchange(m_fetchWhenShown, false))
        QTimer::singleShot(0, &m_session, &session::WeekSession::refresh);
}

} // namespace kostwerk::ui
