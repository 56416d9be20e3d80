// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/dialogwindow.h"

class QCheckBox;
class QLineEdit;

namespace kostwerk::session {
class WeekSession;
}

namespace kostwerk::ui {

// "Einstellungen": edits the session's settings, which writes them to the
// settings file; values that would break the settings file or let the cache
// overwrite another file are refused with a message in the dialog. While it
// is open, the main window keeps itself disabled.
class SettingsDialog final : public DialogWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsDialog)

public:
    SettingsDialog(session::WeekSession &session, QWidget *mainWindow);
    ~SettingsDialog() override;

private:
    void createControls();
    void showSettings();

    // Takes the fields over and saves them, unless a value is refused.
    void acceptSettings();

    // Why the typed values cannot be taken over, or empty text; the field at
    // fault gets the focus.
    QString refusal();

    session::WeekSession &m_session;

    QLineEdit *m_startUrlEdit = nullptr;
    QLineEdit *m_basisUrlEdit = nullptr;
    QLineEdit *m_cacheFileEdit = nullptr;
    QCheckBox *m_autoFetchCheck = nullptr;
};

} // namespace kostwerk::ui
