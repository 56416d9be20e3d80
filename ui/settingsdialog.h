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

    // Why the typed values cannot be taken over, and the field at fault.
    struct Refusal
    {
        QString why;
        QLineEdit *field = nullptr; // none when nothing is refused
    };

    // Takes the fields over and saves them, unless a value is refused.
    void acceptSettings();

    Refusal refusal() const;

    // Says why in a message box over the dialog; once it is closed, the
    // field at fault has the focus.
    void showRefusal(const Refusal &refused);

    session::WeekSession &m_session;

    QLineEdit *m_startUrlEdit = nullptr;
    QLineEdit *m_basisUrlEdit = nullptr;
    QLineEdit *m_cacheFileEdit = nullptr;
    QCheckBox *m_autoFetchCheck = nullptr;
};

} // namespace kostwerk::ui
