// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/printing/printout.h"
#include "ui/printing/weekoverviewcontent.h"

namespace kostwerk::ui {

// Lays the week out as one table for the notice board, on printer's pages: a
// column per day with the day's heading, a row per category with the day's
// dishes, the week's title above and standLine (none when empty) as the
// footer. The text shrinks step by step until the table fits one page, but
// not below a readable size; a week that does not fit even then goes on over
// further pages, with the day headings again at the top of each. content
// holds at least one day.
std::unique_ptr<PrintPages> layOutWeekOverview(QPrinter &printer, const WeekOverviewContent &content,
                                               const QString &standLine);

} // namespace kostwerk::ui
