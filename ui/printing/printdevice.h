// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <functional>
#include <optional>

class QPrinter;
class QString;
class QWidget;

namespace kostwerk::ui {

struct Printout;

// The print dialog, the print preview and the printer, as far as printing
// the week needs them. The dialogs return at once and tell their answer
// when they close, so that the window goes on answering.
class PrintDevice
{
public:
    // How a print dialog closed: the copies chosen, or nothing when it was
    // cancelled.
    using Answer = std::function<void(std::optional<int> copies)>;
    // The copies to print a previewed printout in.
    using Print = std::function<void(int copies)>;

    virtual ~PrintDevice() = default;
    Q_DISABLE_COPY_MOVE(PrintDevice)

    // Shows the print dialog for the printout named name over parent. A file
    // printed into gets that name.
    virtual void askCopies(QWidget *parent, const QString &name, const Answer &answer) = 0;

    // Whether the dialog sent the output to a file rather than a printer.
    virtual bool printsToFile() const = 0;

    // Shows printout in a print preview over parent. When the user prints
    // from there and chooses the copies in the print dialog, the preview
    // closes and print hears them.
    virtual void preview(QWidget *parent, const Printout &printout, const Print &print) = 0;

    // The printer that the next print job draws on, and the end of that job,
    // whether it was drawn whole or not.
    virtual QPrinter &beginJob() = 0;
    virtual void endJob(QPrinter &printer) = 0;

protected:
    PrintDevice() = default;
};

} // namespace kostwerk::ui
