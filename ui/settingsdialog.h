// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/dialogwindow.h"

class QCheckBox;
class QLineEdit;

namespace kostwerk::settings {
struct Settings;
}

namespace kostwerk::ui {

// "Einstellungen": edits the settings and writes them to the settings file;
// values that would break the settings file or let the cache overwrite
// another file are refused with a message in the dialog. While it is open,
// the main window keeps itself disabled.
class SettingsDialog final : public DialogWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsDialog)

public:
    // settings are the values in force.
    SettingsDialog(settings::Settings &settings, QWidget *mainWindow);
    ~SettingsDialog() override;

signals:
    // The confirmed values are in force but could not be written; cause is
    // the system's own words.
    void settingsNotSaved(const QString &cause);

private:
    void createControls();
    void showSettings();

    // Takes the fields over and saves them, unless a value is refused.
    void acceptSettings();

    // Why the typed values cannot be taken over, or empty text; the field at
    // fault gets the focus.
    QString refusal();

    settings::Settings &m_settings;

    QLineEdit *m_startUrlEdit = nullptr;
    QLineEdit *m_basisUrlEdit = nullptr;
    QLineEdit *m_cacheFileEdit = nullptr;
    QCheckBox *m_autoFetchCheck = nullptr;
};

} // namespace kostwerk::ui
