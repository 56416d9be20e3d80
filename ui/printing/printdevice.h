// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace kostwerk::ui {

// The print dialog, the print preview and the printer, as far as printing
// the week needs them. Every printout, on paper, into a file or in the
// preview, is drawn by one Paint function.
class PrintDevice
{
public:
    // Draws copies of a printout on the printer as one document, each copy
    // from a new page; false when the printer failed.
    using Paint = std::function<bool(QPrinter &, int copies)>;

    virtual ~PrintDevice() = default;
    Q_DISABLE_COPY_MOVE(PrintDevice)

    // Shows the print dialog over parent and returns once it is closed: the
    // number of copies chosen, or nothing when the dialog was cancelled.
    virtual std::optional<int> askCopies(QWidget *parent) = 0;

    // Whether the dialog sent the output to a file rather than a printer.
    virtual bool printsToFile() const = 0;

    // Draws copies of a printout with paint on the printer, as one print job.
    // False when the printer failed; part of the job may have been printed.
    virtual bool print(const Paint &paint, int copies) = 0;

    // Shows the pages paint draws in a print preview over parent and returns
    // once it is closed. From the preview the user can print them through
    // the print dialog, in copies as printCopies prints them.
    virtual void preview(QWidget *parent, const Paint &paint) = 0;

    // Prints copies of a printout: a job per copy, except into a file, which
    // every job would replace, so there the copies share one job. Stops at a
    // failing job.
    bool printCopies(int copies, const Paint &paint)
    {
        if (printsToFile())
            return print(paint, copies);
        for (int copy = 0; copy < copies; ++copy) {
            if (!print(paint, 1))
                return false;
        }
        return true;
    }

protected:
    PrintDevice() = default;
};

} // namespace kostwerk::ui
