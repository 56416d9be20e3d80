// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/weekoverview.h"

#include "ui/printing/weekoverviewlayout.h"

#include <QPainter>
#include <QPrinter>

namespace kostwerk::ui {

namespace {

// 10 pt reads well on a notice board; below 6 pt it no longer does.
constexpr qreal startPointSize = 10;
constexpr qreal pointSizeStep = 0.5;
constexpr qreal minimumPointSize = 6;

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

class OverviewPages final : public PrintPages
{
public:
    OverviewPages(FittedOverview overview, qreal resolution)
        : m_overview(std::move(overview))
        // Thin grid lines: half a point.
        , m_pen(Qt::black, resolution / 144.0)
    {
    }

    int count() const override { return int(m_overview.pages.size()); }

    void draw(QPainter &painter, int page) const override
    {
        painter.setPen(m_pen);
        paintPage(painter, m_overview.sheet, m_overview.pages.at(page));
    }

private:
    FittedOverview m_overview;
    QPen m_pen;
};

} // namespace

std::unique_ptr<PrintPages> layOutWeekOverview(QPrinter &printer, const WeekOverviewContent &content,
                                               const QString &standLine)
{
    const QSizeF page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    return std::make_unique<OverviewPages>(fitOverview(content, standLine, page, &printer), printer.resolution());
}

} // namespace kostwerk::ui
