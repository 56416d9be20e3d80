// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/weekprinting.h"

#include "ui/logging.h"
#include "ui/printing/printerdevice.h"
#include "ui/printing/printouts.h"
#include "ui/printing/printrun.h"

#include <QElapsedTimer>
#include <QProgressDialog>

#include <utility>

namespace kostwerk::ui {

WeekPrinting::WeekPrinting(QWidget *window)
    : m_window(window)
{
}

WeekPrinting::~WeekPrinting()
{
    delete m_run;
}

void WeekPrinting::useDevice(PrintDevice &device)
{
    m_device = &device;
}

void WeekPrinting::printWeek(const core::WeekPlan &weekPlan)
{
    if (showRunning())
        return;
    const Printout printout = Printouts::weekPlan(weekPlan);
    device().askCopies(m_window, printout.name,
                       [this, printout, empty = weekPlan.isEmpty()](std::optional<int> copies) {
                           if (copies && !empty)
                               print(printout, *copies);
                       });
}

void WeekPrinting::previewWeek(const core::WeekPlan &weekPlan)
{
    preview(Printouts::weekPlan(weekPlan));
}

void WeekPrinting::previewOverview(const core::WeekPlan &weekPlan, const QString &standLine)
{
    preview(Printouts::weekOverview(weekPlan, standLine));
}

void WeekPrinting::preview(const Printout &printout)
{
    if (!showRunning())
        device().preview(m_window, printout, [this, printout](int copies) { print(printout, copies); });
}

void WeekPrinting::print(const Printout &printout, int copies)
{
    m_run = new PrintRun(device(), printout, copies, this);
    m_progress = new QProgressDialog(m_window);
    m_progress->setObjectName(QStringLiteral("printProgress"));
    // The title names the printout, the text the page; a screen reader reads
    // both when the dialog appears.
    m_progress->setWindowTitle(printout.name);
    m_progress->setLabelText(QStringLiteral("Der Druck wird vorbereitet …"));
    m_progress->setCancelButtonText(QStringLiteral("Abbrechen"));
    // Not modal: a modal progress dialog runs the event loop inside setValue.
    // It appears once the run looks like taking longer than its minimum
    // duration.
    m_progress->setWindowModality(Qt::NonModal);
    m_progress->setValue(0);
    // A screen reader hears of every change; a few a second are enough to
    // follow, where hundreds of pages a second would hold it up.
    connect(m_run, &PrintRun::progressed, m_progress,
            [progress = m_progress, shown = QElapsedTimer()](int drawn, int total) mutable {
                if (shown.isValid() && shown.elapsed() < 250 && drawn < total)
                    return;
                shown.start();
                progress->setLabelText(u"Seite %1 von %2 wird gedruckt"_qs.arg(drawn).arg(total));
                progress->setMaximum(total);
                progress->setValue(drawn);
            });
    // Escape closes the dialog as "Abbrechen" does.
    connect(m_progress, &QProgressDialog::canceled, m_run, &PrintRun::cancel);
    connect(m_progress, &QDialog::rejected, m_run, &PrintRun::cancel);
    connect(m_run, &PrintRun::finished, this, [this](PrintRun::Outcome outcome) {
        // Printing ends without a word on any failure, as it always has; the
        // log keeps it.
        if (outcome == PrintRun::Outcome::Failed)
            qCWarning(lcUi) << "the printer failed while printing the week";
        std::exchange(m_run, nullptr)->deleteLater();
        std::exchange(m_progress, nullptr)->deleteLater();
    });
}

bool WeekPrinting::showRunning()
{
    if (!m_run)
        return false;
    m_progress->show();
    m_progress->raise();
    m_progress->activateWindow();
    return true;
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
