// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/printing/printdevice.h"

#include <QPrinter>

namespace kostwerk::ui {

// The system's print dialog, print preview and printer. The printer is kept
// between prints, so the next dialog starts with the printer chosen last.
class PrinterDevice final : public PrintDevice
{
public:
    PrinterDevice();
    ~PrinterDevice() override;

    std::optional<int> askCopies(QWidget *parent) override;
    bool printsToFile() const override;
    bool print(const Paint &paint, int copies) override;
    void preview(QWidget *parent, const Paint &paint) override;

private:
    QPrinter m_printer;
};

} // namespace kostwerk::ui
