// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/printing/weekoverviewcontent.h"

#include <QSizeF>
#include <QTextLayout>

#include <memory>
#include <vector>

class QPaintDevice;

namespace kostwerk::ui {

// A part of the overview that a page break may cut between its rows of text:
// a title line, the header row with the day headings, or a category's row.
// Each cell's text is laid out in the cell's own coordinates, one QTextLine
// per printed row, with the space between dishes already in the rows' places.
struct OverviewBlock
{
    enum class Kind { Title, HeaderRow, CategoryRow };
    Kind kind;
    std::vector<std::unique_ptr<QTextLayout>> cells; // a title's one, or the category column first
};

// The whole overview laid out at one font size, in the device's pixels.
struct OverviewSheet
{
    QSizeF page;                    // what the margins leave
    qreal bodyHeight = 0;           // the page above the footer
    qreal padding = 0;              // around each cell's text
    std::vector<qreal> columnEdges; // each table column's left edge, then the table's right edge
    std::vector<OverviewBlock> blocks;
    std::unique_ptr<QTextLayout> footer; // none without a "Stand" or locations
};

// Lays out content, which holds at least one day, with the cells' text at
// pointSize; the headings are as large and bold, the week's first title line
// larger, the footer smaller; the footer names the content's locations after
// standLine where its one line has room for them. The category column is as wide as the widest
// category name, and the days share the rest of the page's width equally.
OverviewSheet layOutOverview(const WeekOverviewContent &content, const QString &standLine, qreal pointSize, QSizeF page,
                             QPaintDevice *device);

// The rows [first[c], end[c]) of each cell c of one block that go on one
// page, and the height they take there with the cells' padding.
struct OverviewSlice
{
    std::size_t block;
    std::vector<int> first;
    std::vector<int> end;
    qreal height;
};
using OverviewPage = std::vector<OverviewSlice>;

// Fills pages from the top with the blocks in order. A block that does not
// fit below what is already on a page moves whole to the next page when it
// fits there, except that the first category row stays with the header row;
// otherwise it is cut between rows of text and goes on at the top of the next
// page, a category row with its name again. Every page after the header
// row's begins with that row again, unless it would take more than half a
// page. No row of text is left out: a block that goes on to an otherwise
// empty page takes at least one row of text of each cell there, so even a
// page too small for its text comes to an end.
std::vector<OverviewPage> paginate(const OverviewSheet &sheet);

} // namespace kostwerk::ui
