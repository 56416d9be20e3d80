// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/dialogwindow.h"

namespace kostwerk::ui {

// "Info über Refekt Küchenplan": the program's name, version and where to
// send ideas and find updates. The main window stays usable while it is open.
class InfoDialog final : public DialogWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InfoDialog)

public:
    explicit InfoDialog(QWidget *mainWindow);
    ~InfoDialog() override;

private:
    void createControls();
};

} // namespace kostwerk::ui
