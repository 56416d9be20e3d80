// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/textprinting.h"

#include "core/shownlines.h"
#include "core/weekplan.h"
#include "texts/statusline.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

namespace kostwerk::ui {

namespace {

// Lays out one line of text across the page width; a line wider than the
// page wraps at a word, or anywhere when a single word is too wide.
void layOut(QTextLayout &layout, qreal pageWidth)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine())
        row.setLineWidth(pageWidth);
    layout.endLayout();
}

// Prints one copy of the texts from the top of the current page.
bool printCopy(QPrinter &printer, QPainter &painter, const QStringList &texts)
{
    // The painter starts with the printer's default font; its size is in
    // the printer's own resolution.
    const QFont font = painter.font();
    const qreal lineSpacing = QFontMetricsF(font, &printer).lineSpacing();
    const qreal pageWidth = printer.width();
    const qreal pageHeight = printer.height();

    qreal y = 0;
    for (const QString &text : texts) {
        // Splitting text followed by a line break gives every printed line,
        // including the empty ones a leading or trailing CR LF makes.
        for (const QString &line :
             core::shownLines(text, core::lineBreak, core::sectionBounds, texts::StatusLine::leftOutLines)) {
            // An empty line still takes one row.
            QTextLayout layout(line, font, &printer);
            layOut(layout, pageWidth);
            for (int i = 0; i < layout.lineCount(); ++i) {
                if (y > 0 && y + lineSpacing > pageHeight) {
                    if (!printer.newPage())
                        return false;
                    y = 0;
                }
                const QTextLine row = layout.lineAt(i);
                row.draw(&painter, QPointF(0, y - row.y()));
                y += lineSpacing;
            }
        }
    }
    return true;
}

} // namespace

bool printTexts(QPrinter &printer, const QStringList &texts, int copies)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int copy = 0; copy < copies; ++copy) {
        if ((copy > 0 && !printer.newPage()) || !printCopy(printer, painter, texts))
            return false;
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}

} // namespace kostwerk::ui
