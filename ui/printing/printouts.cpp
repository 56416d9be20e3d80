// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/printouts.h"

#include "ui/printing/textprinting.h"
#include "ui/printing/weekoverview.h"

namespace kostwerk::ui::Printouts {

PrintDevice::Paint weekPlan(const core::WeekPlan &weekPlan)
{
    return [weekPlan](QPrinter &printer, int copies) {
        return weekPlan.isEmpty() || printTexts(printer, weekPlan, copies);
    };
}

PrintDevice::Paint weekOverview(const core::WeekPlan &weekPlan, const QString &standLine)
{
    return [weekPlan, standLine](QPrinter &printer, int copies) {
        return printWeekOverview(printer, weekPlan, standLine, copies);
    };
}

} // namespace kostwerk::ui::Printouts
