// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/settings.h"
#include "tests/common/canteensite.h"
#include "tests/ui/mainwindowfixture.h"
#include "ui/accessibility.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QWindow>

#include <tuple>

using namespace kostwerk::settings;
using namespace kostwerk::ui;

namespace {

enum class Closing { Ok, Cancel, TitleBar };

} // namespace

class TestSettingsDialog final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void controls_matchTheLayout_data();
    void controls_matchTheLayout();
    void window_captionFlagsAndTabOrder();
    void closing_reenablesAndFocusesMainWindow_data();
    void closing_reenablesAndFocusesMainWindow();
    void cancelling_keepsIniAndValuesInForce_data();
    void cancelling_keepsIniAndValuesInForce();
    void enterAndEscape_doNothing();
    void ok_storesFields_nextFetchAndCacheUseThem();
    void ok_withTheCanteensAddress_endsThePlaceholderHint();
    void ok_withEmptiedField_storesEmpty_nextStartRestoresDefault_data();
    void ok_withEmptiedField_storesEmpty_nextStartRestoresDefault();
    void ok_refusesPastedValue_staysOpenAndKeepsIni_data();
    void ok_refusesPastedValue_staysOpenAndKeepsIni();

private:
    QWidget *openSettings();
    template<typename T = QWidget>
    T *inDialog(const char *name) const
    {
        return m_dialog->findChild<T *>(QLatin1StringView(name));
    }
    void retype(const char *field, const QString &text) const;
    QStringList valuesInForce() const
    {
        const Settings &settings = m_fixture->session->settings();
        return {settings.startURL, settings.basisURL, settings.cacheFile};
    }
    void close(Closing way) const;

    TestHttpServer m_server;
    std::unique_ptr<MainWindowFixture> m_fixture;
    QPointer<QWidget> m_dialog;
};

void TestSettingsDialog::initTestCase()
{
    describeForScreenReaders();
}

void TestSettingsDialog::init()
{
    m_fixture = std::make_unique<MainWindowFixture>();
    QVERIFY(m_fixture->writeFile(QStringLiteral("refekt.ini"), CanteenSite::serve(m_server)));
    m_fixture->start();
    m_fixture->window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_fixture->window.get()));
}

void TestSettingsDialog::cleanup()
{
    m_fixture.reset();
}

QWidget *TestSettingsDialog::openSettings()
{
    m_fixture->choose("settings");
    m_dialog = m_fixture->control("SettingsF");
    if (m_dialog && QTest::qWaitFor([this] { return QApplication::activeWindow() == m_dialog; }))
        return m_dialog;
    return nullptr;
}

void TestSettingsDialog::retype(const char *field, const QString &text) const
{
    auto *edit = inDialog<QLineEdit>(field);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void TestSettingsDialog::close(Closing way) const
{
    switch (way) {
    case Closing::Ok:
        QTest::mouseClick(inDialog<QPushButton>("Command1"), Qt::LeftButton);
        break;
    case Closing::Cancel:
        QTest::mouseClick(inDialog<QPushButton>("Command2"), Qt::LeftButton);
        break;
    case Closing::TitleBar:
        // The way the window system asks a window to close.
        m_dialog->windowHandle()->close();
        break;
    }
}

void TestSettingsDialog::controls_matchTheLayout_data()
{
    // Pixel rectangles of the twips layout (15 twips to the pixel); the
    // fields show the values in force.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("StartURL label") << "Label1"
                                    << "StartURL:" << QRect(8, 16, 57, 17);
    QTest::newRow("StartURL") << "starturlfeld" << m_server.url(QStringLiteral("/refekt/00.html"))
                              << QRect(64, 16, 225, 19);
    QTest::newRow("BasisURL label") << "Label2"
                                    << "BasisURL:" << QRect(8, 40, 57, 17);
    QTest::newRow("BasisURL") << "basisurlfeld" << m_server.url(QStringLiteral("/refekt/")) << QRect(64, 40, 225, 19);
    QTest::newRow("Cachefile label") << "Label3"
                                     << "Cachefile:" << QRect(8, 64, 57, 17);
    QTest::newRow("Cachefile") << "cachefilefeld"
                               << "cache.rfk" << QRect(64, 64, 225, 19);
    QTest::newRow("check box") << "Check1"
                               << "Startseitenfehlerbehebung (Freenet)" << QRect(8, 96, 225, 25);
    QTest::newRow("fetch at start") << "Check2"
                                    << "Veralteten Wochenplan beim Start holen" << QRect(8, 128, 296, 17);
    QTest::newRow("OK") << "Command1"
                        << "OK" << QRect(128, 160, 81, 33);
    QTest::newRow("Abbrechen") << "Command2"
                               << "Abbrechen" << QRect(216, 160, 81, 33);
}

void TestSettingsDialog::controls_matchTheLayout()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    QVERIFY(openSettings());
    auto *widget = inDialog(name.toLatin1().constData());
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->property("text").toString(), text);
    // A check box's caption shows whole beside its box.
    if (qobject_cast<QCheckBox *>(widget)) {
        const QStyle *style = widget->style();
        const int room = widget->width() - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget)
                         - style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, widget);
        QVERIFY(widget->fontMetrics().horizontalAdvance(text) <= room);
    }
}

void TestSettingsDialog::window_captionFlagsAndTabOrder()
{
    QVERIFY(openSettings());
    QCOMPARE(m_dialog->windowTitle(), u"Einstellungen"_qs);
    QCOMPARE(m_dialog->size(), QSize(312, 206));
    QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());
    const Qt::WindowFlags flags = m_dialog->windowFlags();
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!m_dialog->windowIcon().isNull());
    // Screen readers read it as a dialog when it opens.
    QCOMPARE(QAccessible::queryAccessibleInterface(m_dialog)->role(), QAccessible::Dialog);

    // The check box has the focus first; the cache file field comes after
    // the buttons.
    QCOMPARE(QApplication::focusWidget(), inDialog("Check1"));
    QStringList chain;
    QWidget *widget = m_dialog;
    while ((widget = widget->nextInFocusChain()) != m_dialog) {
        if (widget->focusPolicy() & Qt::TabFocus)
            chain.append(widget->objectName());
    }
    QCOMPARE(chain, (QStringList{u"Check1"_qs, u"Check2"_qs, u"starturlfeld"_qs, u"basisurlfeld"_qs, u"Command1"_qs,
                                 u"Command2"_qs, u"cachefilefeld"_qs}));
}

void TestSettingsDialog::closing_reenablesAndFocusesMainWindow_data()
{
    QTest::addColumn<Closing>("way");
    QTest::newRow("OK") << Closing::Ok;
    QTest::newRow("Abbrechen") << Closing::Cancel;
    QTest::newRow("title bar") << Closing::TitleBar;
}

void TestSettingsDialog::closing_reenablesAndFocusesMainWindow()
{
    QFETCH(Closing, way);
    MainWindow *window = m_fixture->window.get();
    QVERIFY(openSettings());

    QVERIFY(!window->isEnabled());
    QVERIFY(m_dialog->isEnabled());
    // The disabled main window ignores a click; the dialog takes typing.
    const QString headingBefore = m_fixture->control<QLineEdit>("Ueberschrift")->text();
    QTest::mouseClick(m_fixture->control<QPushButton>("cmdLoad"), Qt::LeftButton);
    QVERIFY(!m_fixture->session->isFetching());
    QCOMPARE(m_server.requestCount(QStringLiteral("/refekt/00.html")), 0);
    QCOMPARE(m_fixture->control<QLineEdit>("Ueberschrift")->text(), headingBefore);
    QVERIFY2(!window->windowHandle()->close(), "a close from the title bar ends the program under the dialog");
    retype("cachefilefeld", QStringLiteral("neu.rfk"));
    QCOMPARE(inDialog<QLineEdit>("cachefilefeld")->text(), u"neu.rfk"_qs);

    close(way);

    QVERIFY(window->isEnabled());
    QTRY_VERIFY(window->isActiveWindow());
    QTRY_VERIFY(m_dialog.isNull());
}

void TestSettingsDialog::cancelling_keepsIniAndValuesInForce_data()
{
    QTest::addColumn<Closing>("way");
    QTest::newRow("Abbrechen") << Closing::Cancel;
    QTest::newRow("title bar") << Closing::TitleBar;
}

void TestSettingsDialog::cancelling_keepsIniAndValuesInForce()
{
    QFETCH(Closing, way);
    const QByteArray iniBefore = m_fixture->readFile(QStringLiteral("refekt.ini"));
    const QStringList before = valuesInForce();
    QVERIFY(openSettings());
    retype("starturlfeld", QStringLiteral("http://anders.example/"));
    retype("basisurlfeld", QString());
    retype("cachefilefeld", QStringLiteral("neu.rfk"));

    close(way);
    QTRY_VERIFY(m_dialog.isNull());

    QCOMPARE(m_fixture->readFile(QStringLiteral("refekt.ini")), iniBefore);
    QCOMPARE(valuesInForce(), before);
    // Opened again, the dialog starts from the values in force.
    QVERIFY(openSettings());
    QCOMPARE(inDialog<QLineEdit>("starturlfeld")->text(), before[0]);
    QCOMPARE(inDialog<QLineEdit>("basisurlfeld")->text(), before[1]);
    QCOMPARE(inDialog<QLineEdit>("cachefilefeld")->text(), before[2]);
}

void TestSettingsDialog::enterAndEscape_doNothing()
{
    const QByteArray iniBefore = m_fixture->readFile(QStringLiteral("refekt.ini"));
    QVERIFY(openSettings());
    for (QPushButton *button : m_dialog->findChildren<QPushButton *>())
        QVERIFY(!button->isDefault() && !button->autoDefault());

    retype("starturlfeld", QStringLiteral("http://anders.example/"));
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
        QTest::keyClick(inDialog("starturlfeld"), key);
    QTest::keyClick(inDialog("Check1"), Qt::Key_Escape);

    QVERIFY(m_dialog);
    QVERIFY(m_dialog->isVisible());
    QVERIFY(!m_fixture->window->isEnabled());
    QCOMPARE(m_fixture->readFile(QStringLiteral("refekt.ini")), iniBefore);
}

void TestSettingsDialog::ok_storesFields_nextFetchAndCacheUseThem()
{
    CanteenSite::serve(m_server, QStringLiteral("/anders/"));
    const QString startURL = m_server.url(QStringLiteral("/anders/00.html"));
    const QString basisURL = m_server.url(QStringLiteral("/anders/"));
    QVERIFY(openSettings());
    retype("starturlfeld", startURL);
    retype("basisurlfeld", basisURL);
    retype("cachefilefeld", QStringLiteral("woche.rfk"));
    QTest::mouseClick(inDialog("Check2"), Qt::LeftButton);
    // The check box is never read, so it changes nothing in the file.
    QTest::mouseClick(inDialog("Check1"), Qt::LeftButton);
    close(Closing::Ok);
    QTRY_VERIFY(m_dialog.isNull());

    QCOMPARE(m_fixture->readFile(QStringLiteral("refekt.ini")), "[Settings]\r\nstartURL=" + startURL.toLatin1()
                                                                    + "\r\nbasisURL=" + basisURL.toLatin1()
                                                                    + "\r\ncacheFile=woche.rfk\r\nautoFetch=1\r\n");
    QCOMPARE(m_fixture->session->settings().startURL, startURL);

    QVERIFY(m_fixture->refresh());
    QCOMPARE(m_server.requestCount(QStringLiteral("/anders/00.html")), 1);
    QCOMPARE(m_server.requestCount(QStringLiteral("/anders/tneu.html")), 1);
    QCOMPARE(m_server.requestCount(QStringLiteral("/refekt/00.html")), 0);
    QVERIFY(QFile::exists(m_fixture->dir.filePath(QStringLiteral("woche.rfk"))));
    QVERIFY(!QFile::exists(m_fixture->dir.filePath(QStringLiteral("cache.rfk"))));
    QVERIFY(openSettings() && inDialog<QCheckBox>("Check2")->isChecked());
}

void TestSettingsDialog::ok_withTheCanteensAddress_endsThePlaceholderHint()
{
    // Catches the hint to set an address staying once one is set, or going before.
    m_fixture = std::make_unique<MainWindowFixture>(); // without refekt.ini: the defaults
    m_fixture->start();
    if (!SettingsStore::hasPlaceholderStart(m_fixture->session->settings()))
        QSKIP("this build's default start page is a real one");
    m_fixture->window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_fixture->window.get()));
    const auto status = [this] { return m_fixture->control<QLabel>("status")->text(); };
    const QString hint = u"Datei → Einstellungen"_qs;
    QVERIFY(status().contains(hint));
    const QString startURL = m_server.url(QStringLiteral("/refekt/00.html"));
    for (const auto &[field, value, hintStays] :
         {std::tuple{"cachefilefeld", u"woche.rfk"_qs, true}, {"starturlfeld", startURL, false}}) {
        QVERIFY(openSettings());
        retype(field, value);
        close(Closing::Ok);
        QTRY_VERIFY(m_dialog.isNull());
        QCOMPARE(status().contains(hint), hintStays);
    }
    QVERIFY2(status().startsWith(u"Noch kein Wochenplan"), qPrintable(status()));
}

void TestSettingsDialog::ok_withEmptiedField_storesEmpty_nextStartRestoresDefault_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("defaultValue");
    QTest::newRow("startURL") << QByteArray("starturlfeld") << "startURL" << 0 << SettingsStore::defaultStartURL();
    QTest::newRow("basisURL") << QByteArray("basisurlfeld") << "basisURL" << 1 << SettingsStore::defaultBasisURL();
    QTest::newRow("cacheFile") << QByteArray("cachefilefeld") << "cacheFile" << 2 << SettingsStore::defaultCacheFile();
}

void TestSettingsDialog::ok_withEmptiedField_storesEmpty_nextStartRestoresDefault()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, key);
    QFETCH(int, index);
    QFETCH(QString, defaultValue);
    QStringList expected = valuesInForce();
    expected[index].clear();
    QVERIFY(openSettings());
    retype(field.constData(), QString());
    close(Closing::Ok);

    QCOMPARE(valuesInForce(), expected);
    const QByteArray ini = m_fixture->readFile(QStringLiteral("refekt.ini"));
    QVERIFY2(ini.contains((u'\n' + key + u"=\r\n").toLatin1()), ini.constData());

    m_fixture->start();
    expected[index] = defaultValue;
    QCOMPARE(valuesInForce(), expected);
    QVERIFY(m_fixture->readFile(QStringLiteral("refekt.ini")).contains((u'\n' + key + u'=' + defaultValue).toLatin1()));
    QVERIFY(openSettings());
    QCOMPARE(inDialog<QLineEdit>(field.constData())->text(), defaultValue);
}

void TestSettingsDialog::ok_refusesPastedValue_staysOpenAndKeepsIni_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("says"); // a part of the message
    QTest::newRow("line break in StartURL") << QByteArray("starturlfeld") << "http://a/\nstartURL=http://b/"
                                            << "Zeilenumbruch";
    QTest::newRow("cache out of the folder") << QByteArray("cachefilefeld") << "../cache.rfk"
                                             << "„..“";
    QTest::newRow("character beyond Windows-1252") << QByteArray("cachefilefeld") << "Wochenplan–€–日本.rfk"
                                                   << "„日“ (U+65E5)";
    QTest::newRow("character beyond the basic plane") << QByteArray("cachefilefeld") << "Wochenplan🍲.rfk"
                                                      << "„🍲“ (U+1F372)";
}

void TestSettingsDialog::ok_refusesPastedValue_staysOpenAndKeepsIni()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, value);
    QFETCH(QString, says);
    const QByteArray iniBefore = m_fixture->readFile(QStringLiteral("refekt.ini"));
    const QStringList before = valuesInForce();
    QVERIFY(openSettings());
    inDialog<QLineEdit>(field.constData())->selectAll();
    inDialog<QLineEdit>(field.constData())->insert(value); // as pasted
    close(Closing::Ok);
    QMessageBox *box = nullptr;
    QTRY_VERIFY((box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())));
    const QString message = box->textFormat() == Qt::PlainText ? box->text() : QString();
    box->accept();

    QVERIFY2(message.contains(says), qPrintable(message));
    QTRY_COMPARE(QApplication::focusWidget(), inDialog(field.constData()));
    QVERIFY(m_dialog && m_dialog->isVisible());
    QCOMPARE(inDialog<QLineEdit>(field.constData())->text(), value);
    QCOMPARE(m_fixture->readFile(QStringLiteral("refekt.ini")), iniBefore);
    QCOMPARE(valuesInForce(), before);
}

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
