// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"
#include "ui/printing/printout.h"

// The week's printouts.
namespace kostwerk::ui::Printouts {

// What "Wochenplan drucken" prints: every section as held, on pages with
// margins of 15 mm, named "Wochenplan" and the week's dates. A week without a
// section shows a page that says so.
Printout weekPlan(const core::WeekPlan &weekPlan);

// The week as one table on a landscape page, with standLine as its footer,
// named "Wochenübersicht" and the week's dates. A week without days prints a
// page that says so.
Printout weekOverview(const core::WeekPlan &weekPlan, const QString &standLine);

} // namespace kostwerk::ui::Printouts
