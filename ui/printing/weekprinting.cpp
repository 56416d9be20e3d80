// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/weekprinting.h"

#include "ui/logging.h"
#include "ui/printing/printerdevice.h"
#include "ui/printing/printouts.h"

namespace kostwerk::ui {

WeekPrinting::WeekPrinting(QWidget *window)
    : m_window(window)
{
}

WeekPrinting::~WeekPrinting() = default;

void WeekPrinting::useDevice(PrintDevice &device)
{
    m_device = &device;
}

void WeekPrinting::printWeek(const core::WeekPlan &weekPlan)
{
    PrintDevice &printer = device();
    const std::optional<int> copies = printer.askCopies(m_window);
    if (!copies || weekPlan.isEmpty())
        return;
    // Printing ends without a word on any failure, as it always has; the log
    // keeps it.
    if (!printer.printCopies(*copies, Printouts::weekPlan(weekPlan)))
        qCWarning(lcUi) << "the printer failed while printing the week";
}

void WeekPrinting::previewWeek(const core::WeekPlan &weekPlan)
{
    device().preview(m_window, Printouts::weekPlan(weekPlan));
}

void WeekPrinting::previewOverview(const core::WeekPlan &weekPlan, const QString &standLine)
{
    device().preview(m_window, Printouts::weekOverview(weekPlan, standLine));
}

PrintDevice &WeekPrinting::device()
{
    if (!m_device) {
        m_printer = std::make_unique<PrinterDevice>();
        m_device = m_printer.get();
    }
    return *m_device;
}

} // namespace kostwerk::ui
