// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QProgressDialog;
class QWidget;

namespace kostwerk::ui {

class PrintDevice;
class PrintRun;
struct Printout;

// The window's three ways to print the week: "Wochenplan drucken", its print
// preview and the week overview, all through one print device: the system's
// print dialog, preview and printer, or the device a test gives. The pages
// are printed while the window goes on answering; a run that takes more
// than a few seconds shows its progress in a dialog whose "Abbrechen" stops
// it after the page being drawn. While a run prints, asking to print again
// brings its progress to the front.
class WeekPrinting final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WeekPrinting)

public:
    // The dialogs open over window.
    explicit WeekPrinting(QWidget *window);
    // A run still printing ends with the pages drawn.
    ~WeekPrinting() override;

    // Prints through device instead of the system's print dialog and printer.
    void useDevice(PrintDevice &device);

    // Asks for the copies and prints every section of the week as held.
    // Cancelling, an empty week and a failing printer end it without a word.
    void printWeek(const core::WeekPlan &weekPlan);

    // The same printout in the print preview, to print from there.
    void previewWeek(const core::WeekPlan &weekPlan);

    // The week as one table for the notice board, with standLine as its
    // footer, in the print preview.
    void previewOverview(const core::WeekPlan &weekPlan, const QString &standLine);

private:
    void preview(const Printout &printout);
    void print(const Printout &printout, int copies);
    bool showRunning();
    PrintDevice &device();

    QWidget *const m_window;
    PrintDevice *m_device = nullptr;
    std::unique_ptr<PrintDevice> m_printer; // the system's, made on first use
    QPointer<PrintRun> m_run;               // ends before the device
    QPointer<QProgressDialog> m_progress;
};

} // namespace kostwerk::ui
