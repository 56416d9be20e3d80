// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"

class QPrinter;

namespace kostwerk::ui {

// Prints the week as one table for the notice board: a column per day with
// the day view's heading, a row per category with the day view's dishes, the
// week's title above and standLine (none when empty) as the footer, on a
// landscape page. The text shrinks step by step until the table fits one
// page, but not below a readable size; a week that does not fit even then
// goes on over further pages, with the day headings again at the top of each.
// A week without days prints a page that says so. The copies follow one
// another in one document, each from a new page. False when the printer could
// not be opened or failed.
bool printWeekOverview(QPrinter &printer, const core::WeekPlan &weekPlan, const QString &standLine, int copies = 1);

} // namespace kostwerk::ui
