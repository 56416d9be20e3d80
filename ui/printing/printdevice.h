#pragma once

#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace kostwerk::ui {

// The print dialog, the print preview and the printer, as far as printing
// the week needs them.
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

    // Prints copies of the texts, each text followed by a line break and each
    // copy from a new page, starting new pages as they fill, and sends the
    // pages as one print job. False when the printer failed; part of the job
    // may have been printed.
    virtual bool printJob(const QStringList &texts, int copies) = 0;

    // Shows the pages paint draws in a print preview over parent and returns
    // once it is closed. From the preview the user can print them through
    // the print dialog, in copies as printCopies prints them.
    virtual void preview(QWidget *parent, const Paint &paint) = 0;

    // Prints copies through job, which sends the copies it is given as one
    // print job: a job per copy, except into a file, which every job would
    // replace, so there the copies share one job. Stops at a failing job.
    bool printCopies(int copies, const std::function<bool(int copies)> &job) const
    {
        if (printsToFile())
            return job(copies);
        for (int copy = 0; copy < copies; ++copy) {
            if (!job(1))
                return false;
        }
        return true;
    }

protected:
    PrintDevice() = default;
};

} // namespace kostwerk::ui
