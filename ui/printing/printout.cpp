// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/printout.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace kostwerk::ui {

void setUpPage(QPrinter &printer, const Printout &printout)
{
    QPageLayout layout = printer.pageLayout();
    if (printout.orientation)
        layout.setOrientation(*printout.orientation);
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF own = layout.margins();
    const qreal least = printout.marginMillimeters;
    // Margins the page cannot take leave the layout as it is.
    layout.setMargins(QMarginsF(std::max(own.left(), least), std::max(own.top(), least), std::max(own.right(), least),
                                std::max(own.bottom(), least)));
    printer.setPageLayout(layout);
}

bool drawWhole(QPrinter &printer, const Printout &printout)
{
    setUpPage(printer, printout);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const std::unique_ptr<PrintPages> pages = printout.layOut(printer, painter.font());
    while (pages->layOutMore()) {
    }
    for (int page = 0; page < pages->count(); ++page) {
        if (page > 0 && !printer.newPage())
            return false;
        pages->draw(painter, page);
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}

} // namespace kostwerk::ui
