// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"
#include "ui/printing/printdevice.h"

// The week's printouts as a print preview draws them.
namespace kostwerk::ui::Printouts {

// What "Wochenplan drucken" prints: every section as held, or no page at all
// when the week has no section.
PrintDevice::Paint weekPlan(const core::WeekPlan &weekPlan);

// The week as one table on a landscape page, with standLine as its footer.
PrintDevice::Paint weekOverview(const core::WeekPlan &weekPlan, const QString &standLine);

} // namespace kostwerk::ui::Printouts
