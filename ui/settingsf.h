#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;

namespace kostwerk::settings {
struct Settings;
}

namespace kostwerk::ui {

// "Einstellungen": edits the settings and writes them to the settings file;
// values that would break the settings file or let the cache overwrite
// another file are refused with a message in the dialog. It is not modal;
// the main window disables itself while it is open, and the dialog enables
// the main window again however it is closed.
class SettingsF final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsF)

public:
    // settings are the values in force; mainWindow is the parent that gets
    // enabled and focused again when the dialog closes.
    SettingsF(settings::Settings &settings, QWidget *mainWindow);
    ~SettingsF() override;

signals:
    // The confirmed values are in force but could not be written; cause is
    // the system's own words.
    void settingsNotSaved(const QString &cause);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Form_QueryUnload();

    // Why the typed values cannot be taken over, or empty text; the field at
    // fault gets the focus.
    QString refusal();

    settings::Settings &m_settings;
    QWidget *const m_mainWindow;

    QLineEdit *m_starturlfeld = nullptr;
    QLineEdit *m_basisurlfeld = nullptr;
    QLineEdit *m_cachefilefeld = nullptr;
    QCheckBox *m_check2 = nullptr;  // fetch an outdated week at start
};

} // namespace kostwerk::ui
