// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPageLayout>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QFont;
class QPainter;
class QPrinter;

namespace kostwerk::ui {

// A printout laid out on the pages of one printer, laid out a part and drawn
// a page at a time, so that a long print run can go in steps and stop
// between two pages.
class PrintPages
{
public:
    virtual ~PrintPages() = default;
    Q_DISABLE_COPY_MOVE(PrintPages)

    // Lays out the next part of a printout that is laid out in parts;
    // false once nothing was left to lay out. The pages are known then.
    virtual bool layOutMore() { return false; }

    // How many pages a copy takes; at least one.
    virtual int count() const = 0;

    // Draws page (0 is the first) with painter, which paints on a printer
    // set up as the one laid out for.
    virtual void draw(QPainter &painter, int page) const = 0;

protected:
    PrintPages() = default;
};

// One of the week's printouts, as a print run and the print preview draw it.
struct Printout
{
    // Of the print job, of the file it is printed into and of its preview,
    // for example "Wochenplan 07.12.–12.12.2026".
    QString name;
    // The page's orientation; none keeps the printer's.
    std::optional<QPageLayout::Orientation> orientation;
    // The margin on every side, at least; a printer that cannot print that
    // close to the edge, or was given wider margins, keeps its own.
    qreal marginMillimeters = 0;
    // Lays the printout out on a printer set up for it, whose painter starts
    // with font.
    std::function<std::unique_ptr<PrintPages>(QPrinter &printer, const QFont &font)> layOut;
};

// Sets printer's page up for printout: its orientation and margins.
void setUpPage(QPrinter &printer, const Printout &printout);

// Draws one copy of printout on printer as one document, as the print
// preview shows it. False when the printer could not be opened or failed.
bool drawWhole(QPrinter &printer, const Printout &printout);

} // namespace kostwerk::ui
