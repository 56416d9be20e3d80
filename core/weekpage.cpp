#include "weekpage.h"

#include <array>
#include <utility>

namespace WeekPage {

QString findWeekLink(const QString &startPage)
{
    static const QString linkStart = QStringLiteral("HREF=\"t");
    static const QString linkText = QStringLiteral(">Vom");
    const qsizetype c = startPage.indexOf(linkStart, 0, Qt::CaseInsensitive);
    if (c < 0)
        return QString();
    const qsizetype d = startPage.indexOf(linkText, c + 1);
    if (d < 0)
        return QString();
    // From the "t" to the character before the closing quote.
    const qsizetype first = c + linkStart.size() - 1;
    return startPage.mid(first, d - 1 - first);
}

QString trimBlanks(const QString &page)
{
    qsizetype begin = 0;
    qsizetype end = page.size();
    while (begin < end && page.at(begin) == u' ')
        ++begin;
    while (end > begin && page.at(end - 1) == u' ')
        --end;
    return page.mid(begin, end - begin);
}

QString cleanPage(QString page)
{
    // Order matters: "&amp;lt;" becomes "&lt;" and then "<".
    static const std::array<std::pair<QString, QString>, 17> table = {{
        {QStringLiteral("\r\n"), QString()},
        {QStringLiteral("  "), QString()},
        {QStringLiteral("&nbsp;"), QStringLiteral(" ")},
        {QStringLiteral("&quot;"), QStringLiteral("\"")},
        {QStringLiteral("&auml;"), QStringLiteral("ä")},
        {QStringLiteral("&Auml;"), QStringLiteral("Ä")},
        {QStringLiteral("&ouml;"), QStringLiteral("ö")},
        {QStringLiteral("&Ouml;"), QStringLiteral("Ö")},
        {QStringLiteral("&uuml;"), QStringLiteral("ü")},
        {QStringLiteral("&Uuml;"), QStringLiteral("Ü")},
        {QStringLiteral("&szlig;"), QStringLiteral("ß")},
        {QStringLiteral("&amp;"), QStringLiteral("&")},
        {QStringLiteral("&lt;"), QStringLiteral("<")},
        {QStringLiteral("&gt;"), QStringLiteral(">")},
        {QStringLiteral("&copy;"), QStringLiteral("Copyright")},
        {QStringLiteral("&reg;"), QStringLiteral("Eingetragenes Warenzeichen")},
        {QStringLiteral("\n"), QString()},
    }};
    for (const auto &[find, replacement] : table)
        page.replace(find, replacement);
    return page;
}

QStringList cutSections(const QString &page)
{
    static const QString heading = QStringLiteral("<h2>");
    static const QString rule = QStringLiteral("<hr");
    QStringList sections;
    qsizetype start = page.indexOf(heading, 0, Qt::CaseInsensitive);
    while (start >= 0 && sections.size() < maxSections) {
        const qsizetype next = page.indexOf(heading, start + 1, Qt::CaseInsensitive);
        const qsizetype end = next >= 0 ? next : page.indexOf(rule, start + 1, Qt::CaseInsensitive);
        if (end >= 0)
            sections.append(page.sliced(start, end - start));
        start = next;
    }
    return sections;
}

QString stripTags(const QString &section)
{
    QString text;
    text.reserve(section.size());
    qsizetype pos = 0;
    while (pos < section.size()) {
        const qsizetype open = section.indexOf(u'<', pos);
        if (open < 0)
            break;
        const qsizetype close = section.indexOf(u'>', open + 1);
        if (close < 0)
            break;
        text += QStringView(section).sliced(pos, open - pos);
        if (QStringView(section).sliced(open + 1, close - open - 1) == u"BR")
            text += lineBreak;
        pos = close + 1;
    }
    text += QStringView(section).sliced(pos);
    return text;
}

Result parse(const QString &weekPage, const WeekPlan &previous)
{
    QStringList sections = cutSections(cleanPage(trimBlanks(weekPage)));
    const bool found = !sections.isEmpty();
    if (!found)
        sections = previous;
    for (QString &section : sections)
        section = stripTags(section);
    return {sections, found};
}

} // namespace WeekPage
