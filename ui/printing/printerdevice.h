// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/printing/printdevice.h"

#include <QPointer>
#include <QPrinter>

class QDialog;

namespace kostwerk::ui {

// The system's print dialog, print preview and printer. The printer is kept
// between prints, so the next dialog starts with the printer chosen last.
class PrinterDevice final : public PrintDevice
{
public:
    PrinterDevice();
    // Closes a dialog still open.
    ~PrinterDevice() override;

    void askCopies(QWidget *parent, const QString &name, const Answer &answer) override;
    bool printsToFile() const override;
    void preview(QWidget *parent, const Printout &printout, const Print &print) override;
    QPrinter &beginJob() override;
    void endJob(QPrinter &printer) override;

private:
    QPrinter m_printer;
    QPointer<QDialog> m_printDialog;
    QPointer<QDialog> m_preview;
};

} // namespace kostwerk::ui
