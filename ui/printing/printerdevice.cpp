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
    // Each copy is a print job of its own, so the printer makes one of each.
    const int copies = m_printer.copyCount();
    m_printer.setCopyCount(1);
    return copies;
}

bool PrinterDevice::printJob(const QStringList &texts)
{
    return printTexts(m_printer, texts);
}

} // namespace kostwerk::ui
