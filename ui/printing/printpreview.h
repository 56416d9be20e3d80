// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPrintPreviewDialog>

namespace kostwerk::ui {

// Qt's print preview, titled "Druckvorschau – " and the printout's name, its
// page number field named "Seite", and usable from the keyboard as the
// desktop's own are: Ctrl+P prints, Tab reaches every button of the toolbar
// (Space presses it), and Escape closes the preview, as in any dialog. It opens as wide as the whole toolbar where
// the screen allows. Printing is left to the preview's owner, so that the
// print dialog does not hold up the window.
class PrintPreview final : public QPrintPreviewDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrintPreview)

public:
    PrintPreview(QPrinter *printer, const QString &name, QWidget *parent);
    ~PrintPreview() override;

signals:
    // The user asked to print what the preview shows.
    void printRequested();

protected:
    void showEvent(QShowEvent *event) override;
};

} // namespace kostwerk::ui
