// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/printerdevice.h"

#include "ui/printing/printout.h"
#include "ui/printing/printpreview.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>

namespace kostwerk::ui {

PrinterDevice::PrinterDevice()
    : m_printer(QPrinter::HighResolution)
{
}

PrinterDevice::~PrinterDevice()
{
    delete m_printDialog;
    delete m_preview;
}

void PrinterDevice::askCopies(QWidget *parent, const QString &name, const Answer &answer)
{
    // Qt's dialog names the file it proposes after the document, up to the
    // document name's last full stop, so the name goes in with an ending. A
    // file printed into before keeps its folder.
    const QString fileName = name + u".pdf";
    m_printer.setDocName(fileName);
    if (printsToFile())
        m_printer.setOutputFileName(QFileInfo(m_printer.outputFileName()).dir().filePath(fileName));

    auto *dialog = new QPrintDialog(&m_printer, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Every page of every copy is printed; a page range or collation would
    // have no effect.
    dialog->setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    QObject::connect(dialog, &QDialog::finished, dialog, [this, name, answer](int result) {
        m_printer.setDocName(name);
        if (result != QDialog::Accepted)
            return answer(std::nullopt);
        // The program prints every copy itself, a job each or all in one
        // file, so the printer makes one of each.
        const int copies = m_printer.copyCount();
        m_printer.setCopyCount(1);
        answer(copies);
    });
    m_printDialog = dialog;
    dialog->open();
}

bool PrinterDevice::printsToFile() const
{
    return !m_printer.outputFileName().isEmpty();
}

void PrinterDevice::preview(QWidget *parent, const Printout &printout, const Print &print)
{
    auto *dialog = new PrintPreview(&m_printer, printout.name, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [printout](QPrinter *printer) { drawWhole(*printer, printout); });
    // A printout's own page set-up, such as the overview's landscape page,
    // is not left behind for the next print.
    QObject::connect(dialog, &QDialog::finished, dialog,
                     [this, layout = m_printer.pageLayout()] { m_printer.setPageLayout(layout); });
    QObject::connect(dialog, &PrintPreview::printRequested, dialog, [this, dialog, name = printout.name, print] {
        askCopies(dialog, name, [dialog, print](std::optional<int> copies) {
            if (!copies)
                return;
            dialog->accept();
            print(*copies);
        });
    });
    m_preview = dialog;
    dialog->open();
}

QPrinter &PrinterDevice::beginJob()
{
    return m_printer;
}

void PrinterDevice::endJob(QPrinter &)
{
    // Ending the painter has sent the job to the printer or into the file.
}

} // namespace kostwerk::ui
