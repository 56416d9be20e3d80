// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/printing/printout.h"

#include <QObject>
#include <QPainter>
#include <QTimer>

namespace kostwerk::ui {

class PrintDevice;

// Prints copies of a printout on a device in steps that the event loop runs
// one after another, a part of the layout or a page each, so that the window
// goes on answering and the run can stop between two pages. Every copy is a print job of its own,
// except in a file, which every job would replace: there the copies follow
// one another in one job. The printout is laid out once, on the first job's
// printer, and each job leaves the printer's page set-up as it found it.
class PrintRun final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrintRun)

public:
    enum class Outcome { Printed, Cancelled, Failed };

    // The run starts once the event loop runs; it prints one copy at least.
    PrintRun(PrintDevice &device, Printout printout, int copies, QObject *parent = nullptr);
    // A job still being drawn ends with the pages drawn.
    ~PrintRun() override;

    // Stops the run after the page being drawn; its job ends with the pages
    // drawn so far.
    void cancel();

signals:
    // After each page: how many of the run's pages of all copies are drawn.
    void progressed(int drawn, int total);
    void finished(PrintRun::Outcome outcome);

private:
    void step();
    bool beginJob();
    bool endJob();
    void finish(Outcome outcome);

    PrintDevice &m_device;
    const Printout m_printout;
    const int m_jobs;
    const int m_copiesPerJob;
    QTimer m_steps;
    QPainter m_painter;
    QPrinter *m_printer = nullptr; // of the job being drawn
    QPageLayout m_printersLayout;  // as the job found it
    std::unique_ptr<PrintPages> m_pages;
    int m_job = 0;
    int m_pageInJob = 0;
    int m_drawn = 0;
    bool m_cancelled = false;
};

} // namespace kostwerk::ui
