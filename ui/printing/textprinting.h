// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/printing/printout.h"

#include <QStringList>

namespace kostwerk::ui {

// Lays the texts out on printer's pages, each text followed by a line break,
// in font. Texts break lines at CR LF; a line wider than the page wraps, and
// a new page starts when the next line does not fit. A text that fits on a
// page but not on what is left of one starts on the next page, so that a day
// is not split. A text beyond core::sectionBounds, far larger than any real
// day, is cut with "…" and the number of lines left out.
std::unique_ptr<PrintPages> layOutTexts(QPrinter &printer, const QFont &font, const QStringList &texts);

} // namespace kostwerk::ui
