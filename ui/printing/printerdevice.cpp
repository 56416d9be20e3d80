#include "ui/printing/printerdevice.h"

#include "ui/printing/textprinting.h"

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

bool PrinterDevice::printJob(const QStringList &texts, int copies)
{
    return printTexts(m_printer, texts, copies);
}

} // namespace kostwerk::ui
