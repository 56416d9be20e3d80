// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/printrun.h"

#include "ui/printing/printdevice.h"

#include <QPrinter>

#include <algorithm>

namespace kostwerk::ui {

PrintRun::PrintRun(PrintDevice &device, Printout printout, int copies, QObject *parent)
    : QObject(parent)
    , m_device(device)
    , m_printout(std::move(printout))
    , m_jobs(device.printsToFile() ? 1 : std::max(copies, 1))
    , m_copiesPerJob(device.printsToFile() ? std::max(copies, 1) : 1)
{
    // A timer of no interval times out whenever the event loop has nothing
    // else to do.
    connect(&m_steps, &QTimer::timeout, this, &PrintRun::step);
    m_steps.start(0);
}

PrintRun::~PrintRun()
{
    if (m_painter.isActive())
        endJob();
}

void PrintRun::cancel()
{
    m_cancelled = true;
}

void PrintRun::step()
{
    if (m_cancelled)
        return finish(Outcome::Cancelled);
    if (!m_painter.isActive() && !beginJob())
        return finish(Outcome::Failed);
    if (m_pages->layOutMore())
        return;
    if (m_pageInJob > 0 && !m_printer->newPage())
        return finish(Outcome::Failed);
    m_pages->draw(m_painter, m_pageInJob % m_pages->count());
    ++m_pageInJob;
    emit progressed(++m_drawn, m_jobs * m_copiesPerJob * m_pages->count());
    if (m_pageInJob < m_copiesPerJob * m_pages->count())
        return;
    m_pageInJob = 0;
    if (!endJob())
        finish(Outcome::Failed);
    else if (++m_job == m_jobs)
        finish(Outcome::Printed);
}

bool PrintRun::beginJob()
{
    m_printer = &m_device.beginJob();
    m_printersLayout = m_printer->pageLayout();
    setUpPage(*m_printer, m_printout);
    m_printer->setDocName(m_printout.name);
    if (!m_painter.begin(m_printer)) {
        endJob();
        return false;
    }
    if (!m_pages)
        m_pages = m_printout.layOut(*m_printer, m_painter.font());
    return true;
}

bool PrintRun::endJob()
{
    const bool ended = (!m_painter.isActive() || m_painter.end()) && m_printer->printerState() != QPrinter::Error;
    m_printer->setPageLayout(m_printersLayout);
    m_device.endJob(*m_printer);
    return ended;
}

void PrintRun::finish(Outcome outcome)
{
    m_steps.stop();
    if (m_painter.isActive())
        endJob();
    emit finished(outcome);
}

} // namespace kostwerk::ui
