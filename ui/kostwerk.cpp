#include "ui/kostwerk.h"

#include "core/cachefile.h"
#include "core/dayview.h"
#include "core/weekdays.h"
#include "core/weekplanfetch.h"
#include "platform/fileaccess.h"
#include "platform/internettransfer.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/germandates.h"
#include "ui/infof.h"
#include "ui/printing/printerdevice.h"
#include "ui/printing/printouts.h"
#include "ui/programicon.h"
#include "ui/settingsf.h"
#include "ui/settingsrefusals.h"
#include "ui/statusline.h"
#include "ui/twips.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>

#include <utility>

namespace kostwerk::ui {

namespace {

// The refresh button's captions: before the first fetch, during one, after.
namespace LoadButton {
constexpr QStringView initial = u"Daten aktualisieren";
constexpr QStringView busy = u"Bitte warten...";
constexpr QStringView done = u"Daten holen";
} // namespace LoadButton

// The heading until a day of the week is shown, and for a day the week lacks.
constexpr QStringView noData = u"Keine Daten vorhanden";

using core::DayViewText::categoryHeadings;

constexpr QSize clientSize(Twips::toPixels(6645), Twips::toPixels(5970));
constexpr QPoint clientOrigin(Twips::toPixels(915), Twips::toPixels(1005));

using Controls::place;

QPlainTextEdit *categoryBox(QWidget *parent, const char *name, QStringView heading, const QRect &geometry)
{
    auto *box = place(parent, new QPlainTextEdit, name, geometry);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTabChangesFocus(true);
    box->setAccessibleName(heading.toString());
    return box;
}

core::DayView noDataView()
{
    core::DayView view;
    view.heading = noData.toString();
    return view;
}

// The text boxes show plain lines; the week's CR LF pairs become line feeds.
QString forDisplay(const QString &text)
{
    return QString(text).replace(core::lineBreak.toString(), QStringLiteral("\n"));
}

} // namespace

Kostwerk::Kostwerk(ProgramState &state, platform::InternetTransfer &transfer, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_transfer(transfer)
{
    setObjectName(QStringLiteral("Kostwerk"));
    setWindowTitle(QStringLiteral("Refekt Küchenplan"));
    setWindowIcon(programIcon());
    setFont(Fonts::systemFont(8.25));

    createControls();
    createMenus();
    createShortcuts();
    setTabOrder();

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));
    statusBar()->addWidget(m_status, 1);
    statusBar()->setSizeGripEnabled(false);

    setGeometry(QRect(clientOrigin, sizeHint()));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

Kostwerk::~Kostwerk() = default;

void Kostwerk::createControls()
{
    auto *client = new QWidget;
    client->setFixedSize(clientSize);
    setCentralWidget(client);

    m_ueberschrift = place(client, new QLineEdit(noData.toString()), "Ueberschrift",
                           Twips::rect(120, 120, 6375, 615));
    m_ueberschrift->setAlignment(Qt::AlignCenter);
    m_ueberschrift->setFont(Fonts::systemFont(18));
    m_ueberschrift->setAccessibleName(QStringLiteral("Überschrift"));

    m_frame1 = place(client, new QGroupBox(QStringLiteral("Wochentagsauswahl")), "Frame1",
                     Twips::rect(120, 960, 1935, 1815));

    // The weekday buttons lie over the frame, not inside it.
    m_wtAuswahl = new QButtonGroup(this);
    m_wtAuswahl->setObjectName(QStringLiteral("WTauswahl"));
    for (int index = 0; index < core::Weekdays::count; ++index) {
        auto *button = place(client, new QRadioButton(GermanDates::weekdayNameAt(index)), "WTauswahl",
                             Twips::rect(240, 1200 + 240 * index, 1600, 255));
        m_wtAuswahl->addButton(button, index);
        m_weekdayButtons[index] = button;
    }
    connect(m_wtAuswahl, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked)
            WTauswahl_Click(index);
    });

    m_menu1 = categoryBox(client, "menu1", categoryHeadings[0], Twips::rect(2280, 960, 2055, 2055));
    m_wahlessen = categoryBox(client, "wahlessen", categoryHeadings[1], Twips::rect(4440, 960, 2055, 2055));
    m_eintopf = categoryBox(client, "eintopf", categoryHeadings[2], Twips::rect(240, 3120, 1935, 2055));
    m_vegetarisch = categoryBox(client, "vegetarisch", categoryHeadings[3], Twips::rect(2280, 3120, 2055, 2055));
    m_abendessen = categoryBox(client, "abendessen", categoryHeadings[4], Twips::rect(4440, 3120, 2055, 2055));

    m_cmdLoad = place(client, new QPushButton(LoadButton::initial.toString()), "cmdLoad",
                      Twips::rect(240, 5280, 1815, 495));
    connect(m_cmdLoad, &QPushButton::clicked, this, &Kostwerk::cmdLoad_Click);

    m_cmdWochenplan = place(client, new QPushButton(QStringLiteral("Wochenplan drucken")), "cmdWochenplan",
                            Twips::rect(2160, 5280, 1815, 495));
    connect(m_cmdWochenplan, &QPushButton::clicked, this, &Kostwerk::cmdWochenplan_Click);

    m_label1 = place(client, new QLabel(QStringLiteral("Heute ist")), "Label1", Twips::rect(4320, 5280, 2055, 195));
    m_label1->setAlignment(Qt::AlignCenter);
    m_label1->setFont(Fonts::systemFont(8.25, QFont::Bold));

    m_datumF = place(client, new QLabel(QStringLiteral("Label2")), "datumF", Twips::rect(4320, 5520, 2055, 255));
    m_datumF->setAlignment(Qt::AlignCenter);
}

void Kostwerk::createMenus()
{
    QMenu *datei = menuBar()->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("datei"));
    QAction *settings = datei->addAction(QStringLiteral("&Einstellungen"), this, &Kostwerk::settings_Click);
    settings->setObjectName(QStringLiteral("settings"));
    datei->addSeparator();
    QAction *printPreview = datei->addAction(QStringLiteral("&Druckvorschau…"), Qt::CTRL | Qt::SHIFT | Qt::Key_P,
                                             this, &Kostwerk::printPreview_Click);
    printPreview->setObjectName(QStringLiteral("printPreview"));
    QAction *weekOverview = datei->addAction(QStringLiteral("&Wochenübersicht drucken…"),
                                             Qt::CTRL | Qt::SHIFT | Qt::Key_W, this, &Kostwerk::weekOverview_Click);
    weekOverview->setObjectName(QStringLiteral("weekOverview"));
    datei->addSeparator();
    QAction *quit = datei->addAction(QStringLiteral("&Beenden"), this, &Kostwerk::quit_Click);
    quit->setObjectName(QStringLiteral("quit"));

    QMenu *infomenu = menuBar()->addMenu(QStringLiteral("&?"));
    infomenu->setObjectName(QStringLiteral("infomenu"));
    QAction *info = infomenu->addAction(QStringLiteral("&Info"), this, &Kostwerk::info_Click);
    info->setObjectName(QStringLiteral("info"));
}

void Kostwerk::createShortcuts()
{
    auto *refresh = new QAction(this);
    refresh->setObjectName(QStringLiteral("refreshShortcut"));
    refresh->setShortcut(QKeySequence::Refresh);
    connect(refresh, &QAction::triggered, m_cmdLoad, &QPushButton::click);
    addAction(refresh);

    auto *print = new QAction(this);
    print->setObjectName(QStringLiteral("printShortcut"));
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, m_cmdWochenplan, &QPushButton::click);
    addAction(print);
}

void Kostwerk::setTabOrder()
{
    // The refresh button comes first, so it has the focus at start.
    QList<QWidget *> order{m_cmdLoad};
    order.append(QList<QWidget *>(m_weekdayButtons.begin(), m_weekdayButtons.end()));
    order.append({m_menu1, m_wahlessen, m_eintopf, m_abendessen, m_vegetarisch, m_ueberschrift,
                  m_cmdWochenplan});
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    m_cmdLoad->setFocus();
}

void Kostwerk::Form_Load(const QString &programFolder, QDate today)
{
    using settings::SettingsStore::defaultCacheFile;
    m_state.dataLoaded = false;
    m_state.settings = settings::SettingsStore::load(programFolder).settings;
    // A cache name that could overwrite another file is not used; the
    // settings file keeps it for the user to mend.
    const QString storedCacheFile = m_state.settings.cacheFile;
    const settings::CacheFileProblem problem = settings::SettingsStore::cacheFileProblem(
        m_state.settings, storedCacheFile, QCoreApplication::applicationFilePath());
    if (problem != settings::CacheFileProblem::None)
        m_state.settings.cacheFile = defaultCacheFile();
    m_datumF->setText(GermanDates::dateLine(today));

    m_wtAuswahl->setExclusive(false);
    for (QRadioButton *button : m_weekdayButtons)
        button->setChecked(false);
    m_wtAuswahl->setExclusive(true);
    if (const auto index = core::Weekdays::todayWeekdayIndex(today))
        m_weekdayButtons[*index]->setChecked(true);

    loadCachedWeek(today);
    if (problem != settings::CacheFileProblem::None)
        showStatus(StatusLine::cacheFileSetAside(storedCacheFile, defaultCacheFile()),
                   SettingsRefusals::cacheFile(problem) + u" (cacheFile=" + storedCacheFile + u')');
}

void Kostwerk::loadCachedWeek(QDate today)
{
    const QString cachePath = m_state.settings.cachePath();
    const bool cached = platform::fileExists(cachePath);
    m_fetchWhenShown = m_state.settings.autoFetch
                       && (!cached || core::Weekdays::isOutdated(QFileInfo(cachePath).lastModified(), today));
    if (!cached)
        return;

    m_state.dataLoaded = true;
    core::LoadedCache cache = core::loadCache(m_state.settings.cacheLocation());
    m_state.weekPlan = std::move(cache.weekPlan);
    if (!cache.ok())
        showStatus(StatusLine::cacheUnreadable(), StatusLine::cause(cache.failure));
    else if (m_state.weekPlan.isEmpty())
        showStatus(StatusLine::cacheHoldsNoWeek());
    else
        showCacheStand(today);
    showDay(selectedWeekday() + 1);
}

void Kostwerk::setLoadButton(QStringView caption, bool enabled)
{
    m_cmdLoad->setText(caption.toString());
    m_cmdLoad->setEnabled(enabled);
}

int Kostwerk::selectedWeekday() const
{
    int selected = 0;
    for (int index = 0; index < core::Weekdays::count; ++index) {
        if (m_weekdayButtons[index]->isChecked())
            selected = index;
    }
    return selected;
}

void Kostwerk::showDay(qsizetype n)
{
    const std::optional<core::DayView> day = core::dayViewOf(m_state.weekPlan, n);
    const core::DayView view = day ? *day : noDataView();
    for (QPlainTextEdit *box : {m_menu1, m_wahlessen, m_eintopf, m_vegetarisch, m_abendessen})
        box->clear();
    m_ueberschrift->setText(view.heading);
    m_menu1->setPlainText(forDisplay(view.menu1));
    m_wahlessen->setPlainText(forDisplay(view.wahlessen));
    m_eintopf->setPlainText(forDisplay(view.eintopf));
    m_vegetarisch->setPlainText(forDisplay(view.vegetarisch));
    m_abendessen->setPlainText(forDisplay(view.abendessen));
}

void Kostwerk::WTauswahl_Click(int /*index*/)
{
    if (m_state.dataLoaded)
        showDay(selectedWeekday() + 1);
}

void Kostwerk::cmdLoad_Click()
{
    reloadWeekPlan();
}

void Kostwerk::reloadWeekPlan()
{
    // Disabling the focused button hands the focus on to "Montag", where the
    // next Space would choose the day; the button takes it back afterwards.
    const bool hadFocus = focusWidget() == m_cmdLoad;
    setLoadButton(LoadButton::busy, false);
    const settings::Settings &settings = m_state.settings;
    core::FetchReport report = core::fetchWeekPlan({settings.startURL, settings.basisURL}, settings.cacheLocation(),
                                                   m_transfer, m_state.weekPlan);
    setLoadButton(LoadButton::done, true);
    if (hadFocus)
        m_cmdLoad->setFocus();

    // Only a week that came in is compared; the last fetch's marks go anyway.
    const core::WeekChanges changes =
        report.sectionsFound ? core::compareWeeks(m_state.weekPlan, report.weekPlan) : core::WeekChanges();
    markChangedDays(changes.changedDays);

    // Whatever the fetch brought, the weekday buttons now show from the week.
    m_state.dataLoaded = true;
    m_state.weekPlan = std::move(report.weekPlan);
    showDay(selectedWeekday() + 1);
    if (report.ok())
        showCacheStand(QDate::currentDate(), changes);
    else
        showStatus(StatusLine::problem(report), StatusLine::cause(report));
    // A new week that could not be kept is still the week as of now.
    if (report.problem == core::FetchReport::Problem::CacheNotWritten)
        m_weekStand = QDateTime::currentDateTime();
}

void Kostwerk::usePrintDevice(PrintDevice &device)
{
    m_printDevice = &device;
}

void Kostwerk::cmdWochenplan_Click()
{
    // Cancelling, a failing printer and an empty week all end the printing
    // without a word.
    PrintDevice &device = printDevice();
    const std::optional<int> copies = device.askCopies(this);
    if (!copies || m_state.weekPlan.isEmpty())
        return;
    device.printCopies(*copies, [&](int jobCopies) { return device.printJob(m_state.weekPlan, jobCopies); });
}

void Kostwerk::printPreview_Click()
{
    printDevice().preview(this, Printouts::weekPlan(m_state.weekPlan));
}

void Kostwerk::weekOverview_Click()
{
    const QString standLine = m_weekStand.isValid() ? StatusLine::stand(m_weekStand) : QString();
    printDevice().preview(this, Printouts::weekOverview(m_state.weekPlan, standLine));
}

void Kostwerk::settings_Click()
{
    setEnabled(false);
    m_settingsF = new SettingsF(m_state.settings, this);
    connect(m_settingsF, &SettingsF::settingsNotSaved, this,
            [this](const QString &cause) { showStatus(StatusLine::settingsNotSaved(), cause); });
    // Disabling a widget disables its child windows with it. The dialogs are
    // windows of their own and stay usable: a window, unlike a control, can
    // be enabled under a disabled parent.
    m_settingsF->setEnabled(true);
    if (m_infoF)
        m_infoF->setEnabled(true);
    m_settingsF->show();
    m_settingsF->activateWindow();
}

void Kostwerk::info_Click()
{
    if (!m_infoF)
        m_infoF = new InfoF(this);
    m_infoF->show();
    m_infoF->raise();
    m_infoF->activateWindow();
}

void Kostwerk::quit_Click()
{
    QCoreApplication::quit();
}

void Kostwerk::closeEvent(QCloseEvent *event)
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
    if (m_infoF)
        m_infoF->close();
    if (m_settingsF)
        m_settingsF->close();
    QMainWindow::closeEvent(event);
}

void Kostwerk::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (std::exchange(m_fetchWhenShown, false))
        QTimer::singleShot(0, m_cmdLoad, &QPushButton::click);
}

void Kostwerk::showStatus(const QString &text, const QString &cause)
{
    m_status->setText(text);
    m_status->setToolTip(cause);
}

void Kostwerk::showCacheStand(QDate today, const core::WeekChanges &changes)
{
    m_weekStand = QFileInfo(m_state.settings.cachePath()).lastModified();
    showStatus(StatusLine::forCache(m_weekStand, today, changes));
}

void Kostwerk::markChangedDays(const QList<int> &days)
{
    for (int index = 0; index < core::Weekdays::count; ++index) {
        QRadioButton *button = m_weekdayButtons[index];
        const bool changed = days.contains(index);
        QFont font = button->font();
        font.setBold(changed);
        button->setFont(font);
        button->setAccessibleDescription(changed ? QStringLiteral("geändert") : QString());
    }
}

PrintDevice &Kostwerk::printDevice()
{
    if (!m_printDevice) {
        m_printer = std::make_unique<PrinterDevice>();
        m_printDevice = m_printer.get();
    }
    return *m_printDevice;
}

} // namespace kostwerk::ui
