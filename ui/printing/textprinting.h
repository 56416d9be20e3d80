// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

class QPrinter;

namespace kostwerk::ui {

// Prints copies of the texts, each text followed by a line break in the
// printer's default font, as one document; every copy starts on a new page.
// Texts break lines at CR LF; a line wider than the page wraps, and a new page
// starts when the next line does not fit. A text beyond core::sectionBounds,
// far larger than any real day, is cut with "…" and the number of lines left
// out. False when the printer could not be opened or failed.
bool printTexts(QPrinter &printer, const QStringList &texts, int copies);

} // namespace kostwerk::ui
