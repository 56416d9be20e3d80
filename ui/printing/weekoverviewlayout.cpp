// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/weekoverviewlayout.h"

#include "ui/fonts.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace kostwerk::ui {

namespace {

using Kind = OverviewBlock::Kind;

// Lays out lines, each on a row of its own, within width. A line too long
// wraps at a word, or anywhere when a single word is too wide. Among several
// lines, a wrapped line's further rows are indented and a little space comes
// before each line, so that two dishes never read as one; a single line, such
// as a day's heading, wraps flush.
std::unique_ptr<QTextLayout> layOutLines(const QStringList &lines, const QFont &font, qreal width, QPaintDevice *device)
{
    const QString text = lines.join(QChar::LineSeparator);
    auto layout = std::make_unique<QTextLayout>(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    const QFontMetricsF metrics(font, device);
    const qreal indent = lines.size() > 1 ? 2 * metrics.averageCharWidth() : 0;
    const qreal gap = 0.3 * metrics.lineSpacing();

    qreal y = 0;
    layout->beginLayout();
    for (QTextLine row = layout->createLine(); row.isValid(); row = layout->createLine()) {
        const int start = row.textStart();
        const bool wrapped = start > 0 && text.at(start - 1) != QChar::LineSeparator;
        if (start > 0 && !wrapped)
            y += gap;
        const qreal x = wrapped ? indent : 0;
        row.setLeadingIncluded(true);
        row.setLineWidth(width - x);
        row.setPosition(QPointF(x, y));
        y += row.height();
    }
    layout->endLayout();
    return layout;
}

OverviewBlock titleBlock(const QStringList &lines, const QFont &font, qreal width, QPaintDevice *device)
{
    OverviewBlock block{Kind::Title, {}};
    block.cells.push_back(layOutLines(lines, font, width, device));
    return block;
}

// A table row: the category column's cell, then one cell per day.
OverviewBlock tableRow(Kind kind, const QString &name, const QList<QStringList> &days, const QFont &dayFont,
                       const OverviewSheet &sheet, QPaintDevice *device)
{
    OverviewBlock block{kind, {}};
    const QFont bold = Fonts::systemFont(dayFont.pointSizeF(), QFont::Bold);
    for (std::size_t column = 0; column + 1 < sheet.columnEdges.size(); ++column) {
        const qreal width = sheet.columnEdges[column + 1] - sheet.columnEdges[column] - 2 * sheet.padding;
        block.cells.push_back(column == 0 ? layOutLines({name}, bold, width, device)
                                          : layOutLines(days.at(column - 1), dayFont, width, device));
    }
    return block;
}

// The column edges: the category column fits the widest category name.
std::vector<qreal> columnEdges(qsizetype days, const QFont &bold, qreal padding, qreal pageWidth, QPaintDevice *device)
{
    const QFontMetricsF metrics(bold, device);
    qreal nameWidth = 0;
    for (qsizetype c = 0; c < overviewCategoryCount; ++c)
        nameWidth = std::max(nameWidth, metrics.horizontalAdvance(core::DayViewText::categoryHeadings[c].toString()));
    // Rounded up, so that the laid out name never wraps for a fraction of a pixel.
    const qreal nameColumn = std::ceil(nameWidth) + 1 + 2 * padding;
    std::vector<qreal> edges{0, nameColumn};
    for (qsizetype day = 1; day <= days; ++day)
        edges.push_back(nameColumn + (pageWidth - nameColumn) * day / days);
    return edges;
}

// The rows [first, end) of each cell that fit into available; a row that
// does not fit is still taken when it would be the cell's first one and
// takeOne is set.
OverviewSlice sliceOf(const OverviewSheet &sheet, std::size_t index, const std::vector<int> &first, qreal available,
                      bool takeOne)
{
    const OverviewBlock &block = sheet.blocks[index];
    OverviewSlice slice{index, first, first, 0};
    qreal used = 0;
    for (std::size_t c = 0; c < block.cells.size(); ++c) {
        const QTextLayout &layout = *block.cells[c];
        int &end = slice.end[c];
        if (end >= layout.lineCount())
            continue;
        const qreal top = layout.lineAt(end).y();
        for (; end < layout.lineCount(); ++end) {
            const QTextLine row = layout.lineAt(end);
            const qreal bottom = row.y() + row.height() - top;
            if (bottom + 2 * sheet.padding > available && !(takeOne && end == first[c]))
                break;
            used = std::max(used, bottom);
        }
    }
    slice.height = used + 2 * sheet.padding;
    return slice;
}

bool isWhole(const OverviewSheet &sheet, const OverviewSlice &slice)
{
    const OverviewBlock &block = sheet.blocks[slice.block];
    for (std::size_t c = 0; c < block.cells.size(); ++c) {
        if (slice.end[c] < block.cells[c]->lineCount())
            return false;
    }
    return true;
}

OverviewSlice wholeBlock(const OverviewSheet &sheet, std::size_t index)
{
    const std::vector<int> first(sheet.blocks[index].cells.size(), 0);
    return sliceOf(sheet, index, first, std::numeric_limits<qreal>::infinity(), false);
}

// The "Stand", followed by the locations the dishes name where the line has
// room for them; nothing when there is neither.
std::unique_ptr<QTextLayout> footerOf(const WeekOverviewContent &content, const QString &standLine, const QFont &font,
                                      qreal width, QPaintDevice *device)
{
    if (!content.locations.isEmpty()) {
        QStringList parts{u"Standorte: "_qs + content.locations.join(u", ")};
        if (!standLine.isEmpty())
            parts.prepend(standLine);
        std::unique_ptr<QTextLayout> footer = layOutLines({parts.join(u" – ")}, font, width, device);
        if (footer->lineCount() == 1)
            return footer;
    }
    return standLine.isEmpty() ? nullptr : layOutLines({standLine}, font, width, device);
}

} // namespace

OverviewSheet layOutOverview(const WeekOverviewContent &content, const QString &standLine, qreal pointSize, QSizeF page,
                             QPaintDevice *device)
{
    const QFont cell = Fonts::systemFont(pointSize);
    const QFont bold = Fonts::systemFont(pointSize, QFont::Bold);
    OverviewSheet sheet;
    sheet.page = page;
    sheet.padding = 0.3 * QFontMetricsF(cell, device).lineSpacing();
    sheet.columnEdges = columnEdges(content.dayHeadings.size(), bold, sheet.padding, page.width(), device);
    const qreal textWidth = page.width() - 2 * sheet.padding;
    sheet.bodyHeight = page.height();
    sheet.footer = footerOf(content, standLine, Fonts::systemFont(0.8 * pointSize), textWidth, device);
    if (sheet.footer) {
        sheet.bodyHeight -= sheet.footer->boundingRect().height() + sheet.padding;
    }

    if (!content.title.isEmpty()) {
        sheet.blocks.push_back(
            titleBlock(content.title.first(1), Fonts::systemFont(1.5 * pointSize, QFont::Bold), textWidth, device));
        if (content.title.size() > 1)
            sheet.blocks.push_back(titleBlock(content.title.sliced(1), cell, textWidth, device));
    }
    QList<QStringList> headings;
    for (const QString &heading : content.dayHeadings)
        headings.append(QStringList{heading});
    sheet.blocks.push_back(tableRow(Kind::HeaderRow, QString(), headings, bold, sheet, device));
    for (qsizetype c = 0; c < overviewCategoryCount; ++c) {
        const QString name = core::DayViewText::categoryHeadings[c].toString();
        sheet.blocks.push_back(tableRow(Kind::CategoryRow, name, content.dishes[c], cell, sheet, device));
    }
    return sheet;
}

std::vector<OverviewPage> paginate(const OverviewSheet &sheet)
{
    std::vector<OverviewPage> pages(1);
    qreal y = 0;
    bool rowsOnPage = false;
    std::optional<OverviewSlice> header; // once the header row is placed, if it is to be repeated
    const auto place = [&](const OverviewSlice &slice) {
        pages.back().push_back(slice);
        y += slice.height;
        rowsOnPage = rowsOnPage || sheet.blocks[slice.block].kind == Kind::CategoryRow;
    };
    const auto newPage = [&] {
        pages.emplace_back();
        y = 0;
        rowsOnPage = false;
        if (header)
            place(*header);
    };

    for (std::size_t index = 0; index < sheet.blocks.size(); ++index) {
        const OverviewBlock &block = sheet.blocks[index];
        const OverviewSlice whole = wholeBlock(sheet, index);
        std::vector<int> first(block.cells.size(), 0);
        for (;;) {
            const bool pageEmpty = !rowsOnPage && y <= (header ? header->height : 0);
            const OverviewSlice slice = sliceOf(sheet, index, first, sheet.bodyHeight - y, pageEmpty);
            if (isWhole(sheet, slice)) {
                place(slice);
                break;
            }
            // A block not yet begun moves on whole when the next page can
            // hold it, except that the header row keeps the first category
            // row below it. On a page with nothing to move away from, it is
            // cut instead.
            const bool begun = slice.first != whole.first;
            const bool keepsWithHeader = block.kind == Kind::CategoryRow && !rowsOnPage;
            const qreal nextPage = sheet.bodyHeight - (header ? header->height : 0);
            const bool moveWhole = !begun && !pageEmpty && !keepsWithHeader && whole.height <= nextPage;
            if (!moveWhole && slice.end != slice.first) {
                place(slice);
                first = slice.end;
                // The category's name comes again beside the rest of its row.
                if (block.kind == Kind::CategoryRow)
                    first.front() = 0;
            }
            newPage();
        }
        if (block.kind == Kind::HeaderRow && whole.height <= sheet.bodyHeight / 2)
            header = whole;
    }
    return pages;
}

} // namespace kostwerk::ui
