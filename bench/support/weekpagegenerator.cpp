// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/support/weekpagegenerator.h"

#include "core/weekdays.h"
#include "core/weekpage.h"

#include <QDate>
#include <QLocale>

#include <array>
#include <numeric>

namespace kostwerk::bench {

using namespace core;

namespace {

// As the canteen writes them: umlauts mostly as entities, some in plain
// Windows-1252. No dish holds a category word, so that the day view finds
// every category at its heading.
constexpr std::array<QStringView, 16> dishes = {
    u"Schweinebraten mit Rotkohl und Kl&ouml;&szlig;en",
    u"Spaghetti Bolognese mit geriebenem K&auml;se",
    u"H&auml;hnchenbrust &quot;Toskana&quot; mit Reis",
    u"Gem&uuml;sepfanne mit Sojasprossen &amp; Mie-Nudeln",
    u"Kartoffelsuppe mit Wiener W&uuml;rstchen",
    u"Linsensuppe mit Sp&auml;tzle",
    u"K&auml;sesp&auml;tzle mit Röstzwiebeln",
    u"Seelachsfilet in Senfso&szlig;e, Salzkartoffeln",
    u"Grie&szlig;brei mit Zimt &amp; Zucker",
    u"Rinderroulade, Rotkohl, Salzkartoffeln",
    u"Grünkohl mit Pinkel",
    u"Milchreis mit hei&szlig;en Kirschen",
    u"Pizza Margherita",
    u"Tofu-Gem&uuml;se-Curry mit Basmatireis",
    u"Bratwurst mit Sauerkraut und P&uuml;ree",
    u"Apfelstrudel mit Vanillesauce",
};

// The headings as the page spells them, in the order of the day view's.
constexpr std::array<QStringView, 6> categoryHeadings = {u"Men&uuml; I",         u"Wahlessen",  u"Eintopf",
                                                         u"Men&uuml; II (veg.)", u"Abendessen", u"Frische Salate"};

constexpr std::array<QStringView, 3> locations = {u"Nordhang", u"Brunnenstra&szlig;e", u"Kronenhof"};

const QDate firstMonday(2001, 11, 19);

// A fixed sequence, so that a size always gives the same page.
class Sequence final
{
public:
    qsizetype next(qsizetype bound)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<qsizetype>((m_state >> 33) % static_cast<quint64>(bound));
    }

private:
    quint64 m_state = 2001;
};

void appendDish(QString &page, Sequence &sequence)
{
    page += dishes[sequence.next(dishes.size())];
    page += u" &nbsp;" + QString::number(1 + sequence.next(4)) + u',' + QString::number(10 * sequence.next(10))
            + u"0&nbsp;DM<BR>\r\n";
    if (sequence.next(8) == 0)
        page += u"<i>Nur im " + locations[sequence.next(locations.size())] + u" erh&auml;ltlich</i><BR>\r\n";
}

// The day with index day counted from the first Monday, Montag to Samstag.
void appendDay(QString &page, qsizetype day, qsizetype dishesPerCategory, Sequence &sequence)
{
    const QDate date = firstMonday.addDays(day / core::Weekdays::count * 7 + day % core::Weekdays::count);
    page += u"<h2>" + QLocale(QLocale::German).dayName(date.dayOfWeek()) + u", " + date.toString(u"dd.MM.yyyy")
            + u"</h2><BR>\r\n";
    for (QStringView heading : categoryHeadings) {
        page += u"<p><b>" + heading + u"</b><BR>\r\n";
        for (qsizetype i = 0; i < dishesPerCategory; ++i)
            appendDish(page, sequence);
        page += u"</p>  \r\n";
    }
}

QString pageStart()
{
    return QStringLiteral("<html>\r\n<head><title>Speiseplan der Mensa</title></head>\r\n"
                          "<body bgcolor=\"#FFFFFF\">\r\n"
                          "<h2>Speiseplan vom 19.11.2001 bis 24.11.2001</h2>\r\n");
}

void appendPageEnd(QString &page)
{
    page += u"<hr>\r\n<p>&copy; Studentenwerk &amp; Mensa</p>\r\n</body>\r\n</html>\r\n";
}

qsizetype textSize(const WeekPlan &weekPlan)
{
    return std::accumulate(weekPlan.cbegin(), weekPlan.cend(), qsizetype(0),
                           [](qsizetype sum, const QString &section) { return sum + section.size(); });
}

// Stripping tags and entities shrinks a page by a fixed share; a sample
// page tells by how much.
template<typename Generate, typename Measure>
qsizetype scaledPageSize(qsizetype textWanted, Generate generate, Measure measure)
{
    constexpr qsizetype sampleSize = 64 * WeekPageGenerator::KiB;
    const qsizetype sampleText = measure(WeekPage::parse(generate(sampleSize), WeekPlan()).weekPlan);
    return textWanted * sampleSize / qMax(sampleText, qsizetype(1));
}

} // namespace

namespace WeekPageGenerator {

QString weekPage(qsizetype size)
{
    Sequence sequence;
    QString page = pageStart();
    page.reserve(size + 4 * KiB);
    for (qsizetype day = 0; day < core::Weekdays::count || page.size() < size; ++day)
        appendDay(page, day, 2 + sequence.next(3), sequence);
    appendPageEnd(page);
    return page;
}

QString dayPage(qsizetype size)
{
    // Measure one dish per category, then fill the day to the size.
    Sequence probe;
    QString oneDish;
    appendDay(oneDish, 0, 1, probe);
    const qsizetype dishesPerCategory = qMax(qsizetype(1), size / oneDish.size());

    Sequence sequence;
    QString page = pageStart();
    page.reserve(size + 4 * KiB);
    appendDay(page, 0, dishesPerCategory, sequence);
    appendPageEnd(page);
    return page;
}

QString hostilePage(QStringView unit, qsizetype count)
{
    QString page;
    page.reserve(unit.size() * count + 8);
    page += u"<h2>";
    for (qsizetype i = 0; i < count; ++i)
        page += unit;
    page += u"<hr>";
    return page;
}

core::WeekPlan weekPlan(qsizetype size)
{
    const qsizetype pageSize = scaledPageSize(size, weekPage, textSize);
    return WeekPage::parse(weekPage(pageSize), WeekPlan()).weekPlan;
}

QString daySection(qsizetype size)
{
    auto daySize = [](const WeekPlan &weekPlan) { return weekPlan.value(1).size(); };
    const qsizetype pageSize = scaledPageSize(size, dayPage, daySize);
    return WeekPage::parse(dayPage(pageSize), WeekPlan()).weekPlan.value(1);
}

} // namespace WeekPageGenerator

} // namespace kostwerk::bench
