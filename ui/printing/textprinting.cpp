// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/textprinting.h"

#include "core/shownlines.h"
#include "core/weekplan.h"
#include "texts/statusline.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

#include <algorithm>
#include <vector>

namespace kostwerk::ui {

namespace {

// Lays out one line of text in font, which is the printer's, across the page
// width; a line wider than the page wraps at a word, or anywhere when a
// single word is too wide.
std::unique_ptr<QTextLayout> layOut(const QString &line, const QFont &font, qreal pageWidth)
{
    auto layout = std::make_unique<QTextLayout>(line, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->beginLayout();
    for (QTextLine row = layout->createLine(); row.isValid(); row = layout->createLine())
        row.setLineWidth(pageWidth);
    layout->endLayout();
    return layout;
}

// A printed row: one row of a laid out line.
struct Row
{
    const QTextLayout *line;
    int index;
};

// The texts' rows, a page of rows after the other, each a line spacing
// below the one before, laid out a text at a time. The lines are laid out
// once, however many copies are drawn.
class TextPages final : public PrintPages
{
public:
    TextPages(QPrinter &printer, const QFont &font, const QStringList &texts);

    bool layOutMore() override;
    int count() const override { return int(m_pages.size()); }
    void draw(QPainter &painter, int page) const override;

private:
    void place(const std::vector<Row> &rows);

    const QFont m_font; // in the printer's resolution
    const qreal m_pageWidth;
    const QStringList m_texts;
    qsizetype m_laidOut = 0; // texts
    std::vector<std::unique_ptr<QTextLayout>> m_lines;
    std::vector<std::vector<Row>> m_pages{{}};
    qreal m_lineSpacing;
    std::size_t m_rowsPerPage;
};

TextPages::TextPages(QPrinter &printer, const QFont &font, const QStringList &texts)
    : m_font(font, &printer)
    , m_pageWidth(printer.width())
    , m_texts(texts)
    , m_lineSpacing(QFontMetricsF(font, &printer).lineSpacing())
    , m_rowsPerPage(std::max<std::size_t>(1, std::size_t(printer.height() / m_lineSpacing)))
{
}

bool TextPages::layOutMore()
{
    if (m_laidOut == m_texts.size())
        return false;
    std::vector<Row> rows;
    // Splitting text followed by a line break gives every printed line,
    // including the empty ones a leading or trailing CR LF makes. An empty
    // line still takes one row.
    for (const QString &line : core::shownLines(m_texts.at(m_laidOut++), core::lineBreak, core::sectionBounds,
                                                texts::StatusLine::leftOutLines)) {
        m_lines.push_back(layOut(line, m_font, m_pageWidth));
        for (int i = 0; i < m_lines.back()->lineCount(); ++i)
            rows.push_back({m_lines.back().get(), i});
    }
    place(rows);
    return true;
}

void TextPages::place(const std::vector<Row> &rows)
{
    // Empty rows at the end may run on to the next page.
    const auto shown = std::find_if(rows.rbegin(), rows.rend(),
                                    [](const Row &row) { return !row.line->text().isEmpty(); });
    const std::size_t needed = std::size_t(rows.rend() - shown);
    const std::size_t left = m_rowsPerPage - m_pages.back().size();
    if (needed > left && needed <= m_rowsPerPage && !m_pages.back().empty())
        m_pages.emplace_back();
    for (const Row &row : rows) {
        if (m_pages.back().size() == m_rowsPerPage)
            m_pages.emplace_back();
        m_pages.back().push_back(row);
    }
}

void TextPages::draw(QPainter &painter, int page) const
{
    qreal y = 0;
    for (const Row &row : m_pages.at(page)) {
        const QTextLine line = row.line->lineAt(row.index);
        line.draw(&painter, QPointF(0, y - line.y()));
        y += m_lineSpacing;
    }
}

} // namespace

std::unique_ptr<PrintPages> layOutTexts(QPrinter &printer, const QFont &font, const QStringList &texts)
{
    return std::make_unique<TextPages>(printer, font, texts);
}

} // namespace kostwerk::ui
