// SPDX-License-Identifier: GPL-3.0-or-later

#include "generated/buildconfig.h"
#include "tests/common/cachedweek.h"
#include "tests/ui/mainwindowfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace kostwerk::ui;

class TestInfoDialog final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void labels_startAtTheirPlaceAndFitTheirText_data();
    void labels_startAtTheirPlaceAndFitTheirText();
    void window_captionSizeAndOnlyOkTakesFocus();
    void staysOpen_whileMainWindowIsUsed();
    void ok_closesAndFocusesMainWindow();
    void closingMainWindow_closesInfo();
    void openBeforeSettings_staysUsable();

private:
    QWidget *openInfo();
    template<typename T = QWidget>
    T *inDialog(const char *name) const
    {
        return m_dialog->findChild<T *>(QLatin1StringView(name));
    }

    std::unique_ptr<MainWindowFixture> m_fixture;
    QPointer<QWidget> m_dialog;
};

void TestInfoDialog::init()
{
    m_fixture = std::make_unique<MainWindowFixture>();
    QVERIFY(m_fixture->writeFile(QStringLiteral("cache.rfk"), CachedWeek::bytes));
    m_fixture->start();
    m_fixture->window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_fixture->window.get()));
}

void TestInfoDialog::cleanup()
{
    m_fixture.reset();
}

QWidget *TestInfoDialog::openInfo()
{
    m_fixture->choose("info");
    m_dialog = m_fixture->control("infoF");
    if (m_dialog && QTest::qWaitFor([this] { return QApplication::activeWindow() == m_dialog; }))
        return m_dialog;
    return nullptr;
}

void TestInfoDialog::labels_startAtTheirPlaceAndFitTheirText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("topLeft");
    QTest::addColumn<qreal>("pointSize");
    QTest::addColumn<bool>("bold");
    const qreal normal = 8.25;
    QTest::newRow("title") << "Label2"
                           << "Refekt Küchenplan" << QPoint(48, 8) << 18.0 << true;
    QTest::newRow("version") << "Label1" << u"Version "_qs + QLatin1StringView(kostwerk::BuildConfig::versionShort)
                             << QPoint(112, 40) << 9.75 << true;
    QTest::newRow("author") << "Label3"
                            << u"geschrieben von "_qs + QString::fromUtf8(kostwerk::BuildConfig::author) + u", 2001"
                            << QPoint(56, 64) << normal << false;
    QTest::newRow("ideas") << "Label4"
                           << "Ideen für neue Features oder Bugreporte bitte an" << QPoint(40, 80) << normal << false;
    QTest::newRow("e-mail") << "Label5" << QString::fromUtf8(kostwerk::BuildConfig::contactMail) << QPoint(120, 96)
                            << normal << false;
    QTest::newRow("updates") << "Label6"
                             << "Updates und neue Versionen gibt es unter" << QPoint(56, 120) << normal << false;
    QTest::newRow("update address") << "Label7" << QString::fromUtf8(kostwerk::BuildConfig::updateUrl)
                                    << QPoint(112, 136) << normal << false;
}

void TestInfoDialog::labels_startAtTheirPlaceAndFitTheirText()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QPoint, topLeft);
    QFETCH(qreal, pointSize);
    QFETCH(bool, bold);
    QVERIFY(openInfo());

    auto *label = inDialog<QLabel>(name.toLatin1().constData());
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->pos(), topLeft);
    QCOMPARE(label->font().pointSizeF(), pointSize);
    QCOMPARE(label->font().bold(), bold);
    QVERIFY(label->alignment() & Qt::AlignLeft);
    QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(text));
    QVERIFY(label->height() >= label->fontMetrics().height());
}

void TestInfoDialog::window_captionSizeAndOnlyOkTakesFocus()
{
    QVERIFY(openInfo());
    QCOMPARE(m_dialog->windowTitle(), u"Info über Refekt Küchenplan"_qs);
    QCOMPARE(m_dialog->size(), QSize(312, 207));
    QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());
    QVERIFY(!(m_dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!m_dialog->windowIcon().isNull());

    auto *ok = inDialog<QPushButton>("Command1");
    QCOMPARE(ok->text(), u"OK"_qs);
    QCOMPARE(ok->geometry(), QRect(112, 160, 81, 41));
    QCOMPARE(QApplication::focusWidget(), ok);
    for (QWidget *widget : m_dialog->findChildren<QWidget *>())
        QCOMPARE(bool(widget->focusPolicy() & Qt::TabFocus), widget == ok);
}

void TestInfoDialog::staysOpen_whileMainWindowIsUsed()
{
    QVERIFY(openInfo());
    MainWindow *window = m_fixture->window.get();
    QVERIFY(window->isEnabled());

    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::mouseClick(window->findChildren<QRadioButton *>(QStringLiteral("WTauswahl")).at(0), Qt::LeftButton);
    QCOMPARE(m_fixture->control<QLineEdit>("Ueberschrift")->text(), u"Montag, 07.12."_qs);

    QVERIFY(m_dialog);
    QVERIFY(m_dialog->isVisible());
    QVERIFY(m_dialog->isEnabled());
}

void TestInfoDialog::ok_closesAndFocusesMainWindow()
{
    QVERIFY(openInfo());
    QTest::mouseClick(inDialog("Command1"), Qt::LeftButton);
    QTRY_VERIFY(m_dialog.isNull());
    QTRY_VERIFY(m_fixture->window->isActiveWindow());
}

void TestInfoDialog::closingMainWindow_closesInfo()
{
    QVERIFY(openInfo());
    QVERIFY(m_fixture->window->close());
    QVERIFY(!m_dialog || !m_dialog->isVisible());
    QTRY_VERIFY(m_dialog.isNull());
}

void TestInfoDialog::openBeforeSettings_staysUsable()
{
    QVERIFY(openInfo());
    m_fixture->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_fixture->window.get()));
    m_fixture->choose("settings");

    QVERIFY(!m_fixture->window->isEnabled());
    QVERIFY(m_dialog->isEnabled());
    QTest::mouseClick(inDialog("Command1"), Qt::LeftButton);
    QTRY_VERIFY(m_dialog.isNull());
    // The settings dialog is still open and keeps the main window disabled.
    QVERIFY(m_fixture->control("SettingsF")->isVisible());
    QVERIFY(!m_fixture->window->isEnabled());
}

QTEST_MAIN(TestInfoDialog)
#include "tst_infodialog.moc"
