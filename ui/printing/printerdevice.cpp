// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/printerdevice.h"

#include "ui/printing/printpreview.h"

#include <QPrintDialog>

namespace kostwerk::ui {

PrinterDevice::PrinterDevice()
    : m_printer(QPrinter::HighResolution)
{
}

PrinterDevice::~PrinterDevice() = default;

std::optional<int> PrinterDevice::askCopies(QWidget *parent)
{
    QPrintDialog dialog(&m_printer, parent);
    // Every page of every copy is printed; a page range or collation would
    // have no effect.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    // The program prints every copy itself, a job each or all in one file, so
    // the printer makes one of each.
    const int copies = m_printer.copyCount();
    m_printer.setCopyCount(1);
    return copies;
}

bool PrinterDevice::printsToFile() const
{
    return !m_printer.outputFileName().isEmpty();
}

bool PrinterDevice::print(const Paint &paint, int copies)
{
    return paint(m_printer, copies);
}

void PrinterDevice::preview(QWidget *parent, const Paint &paint)
{
    // A printout's own page set-up, such as the overview's landscape page,
    // is not left behind for the next print.
    const QPageLayout layout = m_printer.pageLayout();
    PrintPreview dialog(&m_printer, parent);
    // Called for the preview with one copy, and again with the copies the
    // print dialog behind "Drucken" asked for. That dialog is the preview's
    // own and also offers a page range, which the printouts do not follow.
    // The printer it hands over is ours.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this, &paint](QPrinter *printer) {
        const int copies = printer->copyCount();
        printer->setCopyCount(1);
        printCopies(copies, paint);
    });
    dialog.exec();
    m_printer.setPageLayout(layout);
}

} // namespace kostwerk::ui
