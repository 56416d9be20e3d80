// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/weekoverview.h"

#include "texts/statusline.h"
#include "ui/fonts.h"
#include "ui/printing/weekoverviewlayout.h"

#include <QPainter>
#include <QPrinter>

#include <optional>

namespace kostwerk::ui {

namespace {

// 10 pt reads well on a notice board; below 6 pt it no longer does.
constexpr qreal startPointSize = 10;
constexpr qreal pointSizeStep = 0.5;
constexpr qreal minimumPointSize = 6;
constexpr qreal notePointSize = 20;
constexpr qreal marginMillimeters = 10;

const QColor headerShade(232, 232, 232);

struct FittedOverview
{
    OverviewSheet sheet;
    std::vector<OverviewPage> pages;
};

FittedOverview fittedAt(qreal pointSize, const WeekOverviewContent &content, const QString &standLine, QSizeF page,
                        QPaintDevice *device)
{
    OverviewSheet sheet = layOutOverview(content, standLine, pointSize, page, device);
    std::vector<OverviewPage> pages = paginate(sheet);
    return {std::move(sheet), std::move(pages)};
}

// The largest size that fits one page, or the smallest size's pages. Each
// size is a whole layout, so a week that does not fit even the smallest
// size is laid out twice rather than at every size.
FittedOverview fitOverview(const WeekOverviewContent &content, const QString &standLine, QSizeF page,
                           QPaintDevice *device)
{
    const auto at = [&](qreal size) { return fittedAt(size, content, standLine, page, device); };
    FittedOverview largest = at(startPointSize);
    if (largest.pages.size() == 1)
        return largest;
    FittedOverview smallest = at(minimumPointSize);
    if (smallest.pages.size() > 1)
        return smallest;
    for (qreal size = startPointSize - pointSizeStep; size > minimumPointSize; size -= pointSizeStep) {
        FittedOverview fitted = at(size);
        if (fitted.pages.size() == 1)
            return fitted;
    }
    return smallest;
}

QRectF cellRect(const OverviewSheet &sheet, OverviewBlock::Kind kind, std::size_t c, qreal y, qreal height)
{
    if (kind == OverviewBlock::Kind::Title)
        return QRectF(0, y, sheet.page.width(), height);
    return QRectF(sheet.columnEdges[c], y, sheet.columnEdges[c + 1] - sheet.columnEdges[c], height);
}

void paintSlice(QPainter &painter, const OverviewSheet &sheet, const OverviewSlice &slice, qreal y)
{
    const OverviewBlock &block = sheet.blocks[slice.block];
    for (std::size_t c = 0; c < block.cells.size(); ++c) {
        const QRectF cell = cellRect(sheet, block.kind, c, y, slice.height);
        if (block.kind != OverviewBlock::Kind::Title) {
            if (block.kind == OverviewBlock::Kind::HeaderRow || c == 0)
                painter.fillRect(cell, headerShade);
            painter.drawRect(cell);
        }
        const QTextLayout &layout = *block.cells[c];
        if (slice.first[c] >= slice.end[c])
            continue;
        // The slice's first row goes to the cell's top, whatever came before it.
        const QPointF origin(cell.left() + sheet.padding, y + sheet.padding - layout.lineAt(slice.first[c]).y());
        for (int row = slice.first[c]; row < slice.end[c]; ++row)
            layout.lineAt(row).draw(&painter, origin);
    }
}

void paintPage(QPainter &painter, const OverviewSheet &sheet, const OverviewPage &page)
{
    qreal y = 0;
    for (const OverviewSlice &slice : page) {
        paintSlice(painter, sheet, slice, y);
        y += slice.height;
    }
    if (sheet.footer)
        sheet.footer->draw(&painter, QPointF(sheet.padding, sheet.bodyHeight + sheet.padding));
}

bool paintOverview(QPrinter &printer, QPainter &painter, const FittedOverview &overview)
{
    // Thin grid lines: half a point.
    painter.setPen(QPen(Qt::black, printer.resolution() / 144.0));
    for (std::size_t i = 0; i < overview.pages.size(); ++i) {
        if (i > 0 && !printer.newPage())
            return false;
        paintPage(painter, overview.sheet, overview.pages[i]);
    }
    return true;
}

void paintNoWeek(QPainter &painter, QRectF page)
{
    painter.setFont(Fonts::systemFont(notePointSize));
    painter.drawText(page, Qt::AlignCenter | Qt::TextWordWrap, texts::StatusLine::noWeekToPrint());
}

} // namespace

bool printWeekOverview(QPrinter &printer, const core::WeekPlan &weekPlan, const QString &standLine, int copies)
{
    printer.setPageOrientation(QPageLayout::Landscape);
    // A printer that cannot print this close to the edge keeps its own margins.
    printer.setPageMargins(QMarginsF(marginMillimeters, marginMillimeters, marginMillimeters, marginMillimeters),
                           QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;

    const QRectF page(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    const WeekOverviewContent content = weekOverviewContent(weekPlan);
    std::optional<FittedOverview> overview;
    if (!content.dayHeadings.isEmpty())
        overview = fitOverview(content, standLine, page.size(), &printer);
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0 && !printer.newPage())
            return false;
        if (!overview)
            paintNoWeek(painter, page);
        else if (!paintOverview(printer, painter, *overview))
            return false;
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}

} // namespace kostwerk::ui
