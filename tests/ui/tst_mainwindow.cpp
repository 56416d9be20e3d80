// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/common/cachedweek.h"
#include "tests/common/canteensite.h"
#include "tests/ui/mainwindowfixture.h"
#include "texts/statusline.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>
#include <string_view>

using namespace kostwerk::ui;
using namespace std::string_view_literals;

namespace {

const QDate tuesday(2026, 12, 8);

} // namespace

class TestMainWindow final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void controls_matchTheLayout_data();
    void controls_matchTheLayout();
    void controls_tabOrderAndNames();
    void start_preselectsTodaysWeekday_data();
    void start_preselectsTodaysWeekday();
    void start_withoutCache_weekdayClickShowsNothing();
    void start_withCache_showsSelectedDayAtOnce();
    void start_withOldCache_saysWeekIsOutdated();
    void autoFetch_fetchesOutdatedWeekWhenShown_data();
    void autoFetch_fetchesOutdatedWeekWhenShown();
    void refresh_showsWaitingThenNewWeek();
    void refresh_failed_keepsWeekAndExplains();
    void refresh_namesAndMarksChangedDays();
    void keyboard_f5RefreshesAndArrowsChangeDay();

private:
    MainWindow &start(QDate today = tuesday) { return m_app->start(today); }
    void writeFile(const QString &name, const QByteArray &bytes) { QVERIFY(m_app->writeFile(name, bytes)); }
    template<typename T>
    T *control(const char *name) const
    {
        return m_app->control<T>(name);
    }
    QRadioButton *weekdayButton(int index) const
    {
        return m_app->window->findChildren<QRadioButton *>(QStringLiteral("WTauswahl")).at(index);
    }
    QString heading() const { return control<QLineEdit>("Ueberschrift")->text(); }
    QString status() const { return control<QLabel>("status")->text(); }

    TestHttpServer m_server;
    std::unique_ptr<MainWindowFixture> m_app;
};

void TestMainWindow::init()
{
    m_app = std::make_unique<MainWindowFixture>();
    writeFile(QStringLiteral("refekt.ini"), CanteenSite::serve(m_server));
}

void TestMainWindow::cleanup()
{
    m_app.reset();
}

void TestMainWindow::controls_matchTheLayout_data()
{
    // Pixel rectangles of the twips layout (15 twips to the pixel).
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("heading") << "Ueberschrift" << QRect(8, 8, 425, 41);
    QTest::newRow("frame") << "Frame1" << QRect(8, 64, 129, 121);
    QTest::newRow("Menü I") << "menu1" << QRect(152, 64, 137, 137);
    QTest::newRow("Wahlessen") << "wahlessen" << QRect(296, 64, 137, 137);
    QTest::newRow("Eintopf") << "eintopf" << QRect(16, 208, 129, 137);
    QTest::newRow("Menü II (veg.)") << "vegetarisch" << QRect(152, 208, 137, 137);
    QTest::newRow("Abendessen") << "abendessen" << QRect(296, 208, 137, 137);
    QTest::newRow("refresh") << "cmdLoad" << QRect(16, 352, 121, 33);
    QTest::newRow("print") << "cmdWochenplan" << QRect(144, 352, 121, 33);
    QTest::newRow("Heute ist") << "Label1" << QRect(288, 352, 137, 13);
    QTest::newRow("date") << "datumF" << QRect(288, 368, 137, 17);
}

void TestMainWindow::controls_matchTheLayout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    start();
    const auto *widget = m_app->window->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(m_app->window->centralWidget()->size(), QSize(443, 398));
    QCOMPARE(m_app->window->windowTitle(), u"Refekt Küchenplan"_qs);
    for (int index = 0; index < 6; ++index) {
        QWidget *button = weekdayButton(index);
        const QPoint inClientArea = button->mapTo(m_app->window->centralWidget(), QPoint(0, 0));
        QCOMPARE(QRect(inClientArea, button->size()), QRect(16, 80 + 16 * index, 107, 17));
    }
}

void TestMainWindow::controls_tabOrderAndNames()
{
    start();
    QStringList chain;
    QWidget *widget = control<QPushButton>("cmdLoad");
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            chain.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != control<QPushButton>("cmdLoad"));
    // The weekday group is one stop, as any radio group.
    const QStringList expected = QStringList{u"cmdLoad"_qs, u"WTauswahl"_qs}
                                 + QStringList{u"menu1"_qs,        u"wahlessen"_qs,   u"eintopf"_qs,
                                               u"abendessen"_qs,   u"vegetarisch"_qs, u"Ueberschrift"_qs,
                                               u"cmdWochenplan"_qs};
    QCOMPARE(chain, expected);

    const QList<std::pair<const char *, QString>> names = {
        {"Ueberschrift", u"Überschrift"_qs},    {"menu1", u"Menü I"_qs},
        {"wahlessen", u"Wahlessen"_qs},         {"eintopf", u"Eintopf"_qs},
        {"vegetarisch", u"Menü II (veg.)"_qs},  {"abendessen", u"Abendessen"_qs},
        {"cmdLoad", u"Daten aktualisieren"_qs}, {"cmdWochenplan", u"Wochenplan drucken"_qs}};
    for (const auto &[objectName, accessibleName] : names) {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control<QWidget>(objectName));
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), accessibleName);
    }
}

void TestMainWindow::start_preselectsTodaysWeekday_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("checked");
    QTest::addColumn<QString>("dateLine");
    QTest::addColumn<int>("today"); // the button marked as today's; -1: none
    QTest::newRow("Sunday preselects Montag, marks none") << QDate(2026, 12, 13) << 0 << "Sonntag, der 13.12.26" << -1;
    QTest::newRow("Tuesday") << tuesday << 1 << "Dienstag, der 08.12.26" << 1;
    QTest::newRow("Thursday, the longest line") << QDate(2026, 12, 10) << 3 << "Donnerstag, der 10.12.26" << 3;
    QTest::newRow("Saturday of 2000") << QDate(2000, 2, 5) << 5 << "Samstag, der 05.02.00" << 5;
}

void TestMainWindow::start_preselectsTodaysWeekday()
{
    QFETCH(QDate, date);
    QFETCH(int, checked);
    QFETCH(QString, dateLine);
    QFETCH(int, today);
    start(date);
    for (int index = 0; index < 6; ++index) {
        QCOMPARE(weekdayButton(index)->isChecked(), index == checked);
        QCOMPARE(weekdayButton(index)->font().underline(), index == today);
        QCOMPARE(weekdayButton(index)->accessibleDescription(), index == today ? u"heute"_qs : QString());
    }
    QCOMPARE(m_app->window->selectedWeekday(), checked);
    const auto *dateLabel = control<QLabel>("datumF");
    QCOMPARE(dateLabel->text(), dateLine);
    QVERIFY(QFontMetrics(dateLabel->font()).horizontalAdvance(dateLine) <= dateLabel->contentsRect().width());
}

void TestMainWindow::start_withoutCache_weekdayClickShowsNothing()
{
    start();
    QVERIFY(!m_app->session->dataLoaded());
    QTest::mouseClick(weekdayButton(2), Qt::LeftButton);
    QVERIFY(weekdayButton(2)->isChecked());
    QCOMPARE(heading(), u"Keine Daten vorhanden"_qs);
    QVERIFY(control<QPlainTextEdit>("menu1")->toPlainText().isEmpty());
    QVERIFY2(status().startsWith(u"Noch kein Wochenplan"_qs), qPrintable(status()));
    QCOMPARE(control<QPushButton>("cmdLoad")->text(), u"Daten aktualisieren"_qs);
}

void TestMainWindow::start_withCache_showsSelectedDayAtOnce()
{
    writeFile(QStringLiteral("cache.rfk"), CachedWeek::bytes);
    QFile cache(m_app->dir.filePath(QStringLiteral("cache.rfk")));
    QVERIFY(cache.open(QIODevice::ReadWrite)
            && cache.setFileTime(QDateTime(tuesday, QTime(9, 30)), QFileDevice::FileModificationTime));
    start();

    QVERIFY(m_app->session->dataLoaded());
    QCOMPARE(heading(), u"Dienstag, 08.12."_qs);
    QCOMPARE(control<QPlainTextEdit>("menu1")->toPlainText(), u"Menü I\nSchnitzel\n"_qs);
    QCOMPARE(control<QPlainTextEdit>("wahlessen")->toPlainText(), u"Wahlessen\nPizza, Salat\n"_qs);
    QCOMPARE(control<QPlainTextEdit>("vegetarisch")->toPlainText(), u"Menü II (veg.)\nTofu \n"_qs);
    QCOMPARE(control<QPlainTextEdit>("abendessen")->toPlainText(), u"Abendessen\nBrot\n"_qs);
    QCOMPARE(status(), u"Stand: 08.12.2026, 09:30"_qs);

    QTest::mouseClick(weekdayButton(0), Qt::LeftButton);
    QCOMPARE(heading(), u"Montag, 07.12."_qs);
    QCOMPARE(control<QPlainTextEdit>("eintopf")->toPlainText(), QString());
    QTest::mouseClick(weekdayButton(4), Qt::LeftButton);
    QCOMPARE(heading(), u"Keine Daten vorhanden"_qs);
}

void TestMainWindow::start_withOldCache_saysWeekIsOutdated()
{
    writeFile(QStringLiteral("cache.rfk"), CachedWeek::bytes);
    QFile cache(m_app->dir.filePath(QStringLiteral("cache.rfk")));
    QVERIFY(cache.open(QIODevice::ReadWrite));
    QVERIFY(cache.setFileTime(QDateTime(QDate(2026, 12, 6), QTime(18, 0)), QFileDevice::FileModificationTime));
    cache.close();

    start(tuesday.addDays(7));
    QCOMPARE(status(), u"Wochenplan ist nicht mehr aktuell – bitte Daten holen (Stand: 06.12.2026, 18:00)"_qs);
    QCOMPARE(heading(), u"Dienstag, 08.12."_qs);
}

void TestMainWindow::autoFetch_fetchesOutdatedWeekWhenShown_data()
{
    QTest::addColumn<QDateTime>("cacheWritten"); // none: no cache, which counts as outdated
    QTest::addColumn<QDate>("today");
    QTest::addColumn<bool>("outdated");
    QTest::addColumn<QByteArray>("setting"); // with "autoFetch=1" an outdated week is fetched once shown
    const QDate monday(2026, 12, 7);
    const QDateTime lastMinuteOfSunday(monday.addDays(-1), QTime(23, 59, 59));
    const QDate nextMonday = monday.addDays(7); // the cached week is dated 07.12. to 09.12.
    const QByteArray asked = "autoFetch=1";
    QTest::newRow("outdated") << lastMinuteOfSunday << nextMonday << true << asked;
    QTest::newRow("current") << monday.startOfDay() << monday << false << asked;
    QTest::newRow("fetched on Sunday, dated this week") << lastMinuteOfSunday << monday << false << asked;
    QTest::newRow("no cache") << QDateTime() << monday << true << asked;
    QTest::newRow("not asked") << lastMinuteOfSunday << nextMonday << true << QByteArray("autoFetch=0");
    QTest::newRow("never set") << lastMinuteOfSunday << nextMonday << true << QByteArray();
}

void TestMainWindow::autoFetch_fetchesOutdatedWeekWhenShown()
{
    QFETCH(QDateTime, cacheWritten);
    QFETCH(QDate, today);
    QFETCH(bool, outdated);
    QFETCH(QByteArray, setting);
    QFile cache(m_app->dir.filePath(QStringLiteral("cache.rfk")));
    if (cacheWritten.isValid()) {
        QVERIFY(cache.open(QIODevice::WriteOnly) && cache.write(CachedWeek::bytes) && cache.flush()
                && cache.setFileTime(cacheWritten, QFileDevice::FileModificationTime));
    }
    writeFile(QStringLiteral("refekt.ini"), CanteenSite::serve(m_server) + setting);
    const int before = m_server.requestCount(QStringLiteral("/refekt/tneu.html"));
    start(today);
    QCOMPARE(m_server.requestCount(QStringLiteral("/refekt/tneu.html")), before);
    m_app->window->show();
    QCoreApplication::processEvents();
    QTRY_VERIFY(!m_app->session->isFetching());
    QCOMPARE(m_server.requestCount(QStringLiteral("/refekt/tneu.html")), before + (outdated && setting.endsWith('1')));
    QCOMPARE(m_app->window->focusWidget(), control<QPushButton>("cmdLoad"));
}

void TestMainWindow::refresh_showsWaitingThenNewWeek()
{
    start();
    auto *refresh = control<QPushButton>("cmdLoad");
    // What the window shows as each page is asked for.
    QStringList statusWhileFetching;
    QString captionWhileFetching;
    bool enabledWhileFetching = true;
    connect(m_app->session.get(), &kostwerk::session::WeekSession::fetchStep, this, [&] {
        statusWhileFetching.append(status());
        captionWhileFetching = refresh->text();
        enabledWhileFetching = refresh->isEnabled() || m_app->window->menuBar()->isEnabled();
    });
    QVERIFY(m_app->refresh());

    QCOMPARE(statusWhileFetching, (QStringList{u"Startseite wird geholt …"_qs, u"Wochenplan wird geholt …"_qs}));
    QCOMPARE(captionWhileFetching, u"Bitte warten..."_qs);
    QVERIFY(!enabledWhileFetching);
    QCOMPARE(refresh->text(), u"Daten holen"_qs);
    QVERIFY(refresh->isEnabled());
    QCOMPARE(heading(), u"Dienstag, 15.12."_qs);
    QCOMPARE(control<QPlainTextEdit>("menu1")->toPlainText(), u"Menü I\nForelle\n"_qs);
    QVERIFY2(status().startsWith(u"Stand: "_qs), qPrintable(status()));
    QVERIFY(QFile::exists(m_app->dir.filePath(QStringLiteral("cache.rfk"))));
}

void TestMainWindow::refresh_failed_keepsWeekAndExplains()
{
    writeFile(QStringLiteral("cache.rfk"), CachedWeek::bytes);
    // A server that words its own status line, markup included.
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    connect(&server, &QTcpServer::newConnection, this, [&server] {
        QTcpSocket *socket = server.nextPendingConnection();
        connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            socket->write("HTTP/1.1 500 <b>Fehler</b>\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
        });
    });
    writeFile(QStringLiteral("refekt.ini"),
              "[Settings]\r\nstartURL=http://127.0.0.1:" + QByteArray::number(server.serverPort()) + "/\r\n");
    start();
    m_app->window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_app->window.get()));

    QVERIFY(m_app->refresh());

    QCOMPARE(heading(), u"Dienstag, 08.12."_qs);
    // Too long for one line, the status wraps, and the window grows to show it whole.
    const auto *line = control<QLabel>("status");
    QTRY_VERIFY(line->height() >= line->heightForWidth(line->width()));
    QVERIFY(line->heightForWidth(line->width()) > line->fontMetrics().height() * 3 / 2);
    // What failed, and how old the week still shown is.
    QVERIFY2(
        status().startsWith(u"Startseite: Der Server meldet einen Fehler (HTTP-Status 500) – angezeigt: Stand "_qs),
        qPrintable(status()));
    QCOMPARE(m_app->shownToolTip(), u"Antwort des Servers: „<b>Fehler</b>“"_qs); // the server's own words
    // Screen readers read a tooltip as the description, markup and all.
    QCOMPARE(QAccessible::queryAccessibleInterface(control<QLabel>("status"))->text(QAccessible::Description),
             m_app->shownToolTip());
    QCOMPARE(control<QPushButton>("cmdLoad")->text(), u"Daten holen"_qs);
}

void TestMainWindow::refresh_namesAndMarksChangedDays()
{
    const auto weekPage = [](QByteArray page) -> QByteArray { // "title|dish|...": a day per dish from Montag on
        return "<h2>" + page.replace("|", "<BR>Wahlessen<BR><h2>Tag<BR>Men&uuml; I<BR>") + "<BR>Wahlessen<hr>";
    };
    const QByteArray before = weekPage("<BR>KW 50|Ente|Forelle|Reis"); // a title after an empty line
    const QByteArray after = weekPage("<BR>KW 50|Lachs|Forelle|Tofu|Kuchen");
    const QString changes = u"Geändert seit dem letzten Abruf: Montag, Mittwoch, Donnerstag"_qs;
    m_server.serve(QStringLiteral("/refekt/tneu.html"), {200, before});
    start();
    QVERIFY(m_app->refresh());
    QVERIFY2(!status().contains(u'–'), qPrintable(status())); // nothing before, nothing to compare with
    m_server.serve(QStringLiteral("/refekt/tneu.html"), {200, after});
    start();
    QVERIFY(m_app->refresh());
    QCOMPARE(status(), kostwerk::texts::StatusLine::stand(m_app->now) + u" – " + changes);
    for (QRadioButton *day : m_app->window->findChildren<QRadioButton *>()) { // the days named are marked
        QCOMPARE(day->font().bold(), changes.contains(day->text()));
        QCOMPARE(day->accessibleDescription().endsWith(u"geändert"_qs), day->font().bold());
    }
    // On Montag only the dish of "Menü I" changed.
    QTest::mouseClick(weekdayButton(0), Qt::LeftButton);
    QVERIFY2(status().endsWith(u" – Geändert: Menü I"_qs), qPrintable(status()));
    for (const char *box : {"menu1", "wahlessen"}) {
        QCOMPARE(control<QPlainTextEdit>(box)->accessibleDescription(),
                 box == "menu1"sv ? u"geändert seit dem letzten Abruf"_qs : QString());
    }
}

void TestMainWindow::keyboard_f5RefreshesAndArrowsChangeDay()
{
    start();
    m_app->window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_app->window.get()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // onto the chosen day, not Montag
    QCOMPARE(QApplication::focusWidget(), weekdayButton(1));

    const int requestsBefore = m_server.requestCount(QStringLiteral("/refekt/tneu.html"));
    QVERIFY(m_app->refresh(Qt::Key_F5));
    QCOMPARE(m_server.requestCount(QStringLiteral("/refekt/tneu.html")), requestsBefore + 1);
    QCOMPARE(heading(), u"Dienstag, 15.12."_qs);
    QCOMPARE(QApplication::focusWidget(), control<QPushButton>("cmdLoad"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QVERIFY(weekdayButton(0)->isChecked());
    QCOMPARE(heading(), u"Montag, 14.12."_qs);
    QTest::keyClick(control<QWidget>("menu1"), Qt::Key_2, Qt::AltModifier);
    QCOMPARE(heading(), u"Dienstag, 15.12."_qs);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
