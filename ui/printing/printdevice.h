#pragma once

#include <QStringList>
#include <QtGlobal>

#include <optional>

class QWidget;

namespace kostwerk::ui {

// The print dialog and the printer, as far as printing the week needs them.
class PrintDevice
{
public:
    virtual ~PrintDevice() = default;
    Q_DISABLE_COPY_MOVE(PrintDevice)

    // Shows the print dialog over parent and returns once it is closed: the
    // number of copies chosen, or nothing when the dialog was cancelled.
    virtual std::optional<int> askCopies(QWidget *parent) = 0;

    // Whether the dialog sent the output to a file rather than a printer.
    virtual bool printsToFile() const = 0;

    // Prints copies of the texts, each text followed by a line break and each
    // copy from a new page, starting new pages as they fill, and sends the
    // pages as one print job. False when the printer failed; part of the job
    // may have been printed.
    virtual bool printJob(const QStringList &texts, int copies) = 0;

protected:
    PrintDevice() = default;
};

} // namespace kostwerk::ui
