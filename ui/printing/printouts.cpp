// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/printouts.h"

#include "core/dayview.h"
#include "core/weekdays.h"
#include "texts/statusline.h"
#include "ui/fonts.h"
#include "ui/printing/textprinting.h"
#include "ui/printing/weekoverview.h"

#include <QPainter>
#include <QPrinter>

namespace kostwerk::ui::Printouts {

namespace {

// Printers cut off what lies closer to the edge of the sheet.
constexpr qreal weekPlanMargin = 15;
// The overview fills a notice board's sheet; most printers reach this far.
constexpr qreal overviewMargin = 10;

// The first and the last date the week names, "07.12.–12.12.2026", the
// first without its year where both have the same; the title tells, or else
// the weekday headings. Empty when neither names a date.
QString datesOf(const core::WeekPlan &weekPlan)
{
    QStringList dates = core::Weekdays::datesIn(weekPlan.value(0));
    if (dates.size() < 2) {
        QStringList days;
        for (qsizetype n = 1; n <= core::Weekdays::count && n < weekPlan.size(); ++n)
            days += core::Weekdays::datesIn(core::headingOf(weekPlan.at(n)));
        if (!days.isEmpty())
            dates = days;
    }
    if (dates.isEmpty())
        return QString();
    QString first = dates.constFirst();
    const QString &last = dates.constLast();
    if (first == last)
        return first;
    const QString year = last.section(u'.', 2);
    if (!year.isEmpty() && first.section(u'.', 2) == year)
        first.chop(year.size());
    return first + u'–' + last;
}

QString nameOf(const QString &printout, const core::WeekPlan &weekPlan)
{
    const QString dates = datesOf(weekPlan);
    return dates.isEmpty() ? printout : printout + u' ' + dates;
}

// A page with a note in large letters in its middle.
class NotePage final : public PrintPages
{
public:
    NotePage(QPrinter &printer, const QString &note)
        : m_page(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size())
        , m_note(note)
    {
    }

    int count() const override { return 1; }

    void draw(QPainter &painter, int) const override
    {
        painter.setFont(Fonts::systemFont(20));
        painter.drawText(m_page, Qt::AlignCenter | Qt::TextWordWrap, m_note);
    }

private:
    QRectF m_page;
    QString m_note;
};

} // namespace

Printout weekPlan(const core::WeekPlan &weekPlan)
{
    return {nameOf(QStringLiteral("Wochenplan"), weekPlan), std::nullopt, weekPlanMargin,
            [weekPlan](QPrinter &printer, const QFont &font) -> std::unique_ptr<PrintPages> {
                if (weekPlan.isEmpty())
                    return std::make_unique<NotePage>(printer, texts::StatusLine::noWeekToPrint());
                return layOutTexts(printer, font, weekPlan);
            }};
}

Printout weekOverview(const core::WeekPlan &weekPlan, const QString &standLine)
{
    return {nameOf(QStringLiteral("Wochenübersicht"), weekPlan), QPageLayout::Landscape, overviewMargin,
            [weekPlan, standLine](QPrinter &printer, const QFont &) -> std::unique_ptr<PrintPages> {
                const WeekOverviewContent content = weekOverviewContent(weekPlan);
                if (content.dayHeadings.isEmpty())
                    return std::make_unique<NotePage>(printer, texts::StatusLine::noWeekToPrint());
                return layOutWeekOverview(printer, content, standLine);
            }};
}

} // namespace kostwerk::ui::Printouts
