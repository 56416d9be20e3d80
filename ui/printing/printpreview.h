// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPrintPreviewDialog>

namespace kostwerk::ui {

// Qt's print preview, usable from the keyboard as the desktop's own are:
// Ctrl+P opens the print dialog, Tab reaches every button of the toolbar
// (Space presses it), and Escape closes the preview, as in any dialog. It
// opens as wide as the whole toolbar where the screen allows.
class PrintPreview final : public QPrintPreviewDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrintPreview)

public:
    PrintPreview(QPrinter *printer, QWidget *parent);
    ~PrintPreview() override;

protected:
    void showEvent(QShowEvent *event) override;
};

} // namespace kostwerk::ui
