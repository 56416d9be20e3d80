// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/weekpage.h"

#include "platform/blanks.h"

#include <array>

namespace kostwerk::core {

namespace {

struct Entity
{
    QStringView name;
    QStringView text;
};

// Rows 3 to 16 of the cleaning table (see cleanPage) without "&amp;". No
// name holds another "&", so at any "&" at most one of them matches.
constexpr std::array<Entity, 13> entities = {{
    {u"&nbsp;", u" "},
    {u"&quot;", u"\""},
    {u"&auml;", u"ä"},
    {u"&Auml;", u"Ä"},
    {u"&ouml;", u"ö"},
    {u"&Ouml;", u"Ö"},
    {u"&uuml;", u"ü"},
    {u"&Uuml;", u"Ü"},
    {u"&szlig;", u"ß"},
    {u"&lt;", u"<"},
    {u"&gt;", u">"},
    {u"&copy;", u"Copyright"},
    {u"&reg;", u"Eingetragenes Warenzeichen"},
}};

// The rows after "&amp;" see the "&" it leaves joined with the text after it.
constexpr std::array<Entity, 4> afterAmpersand = {{
    {u"lt;", u"<"},
    {u"gt;", u">"},
    {u"copy;", u"Copyright"},
    {u"reg;", u"Eingetragenes Warenzeichen"},
}};

// Rows 1 and 2: CR LF pairs go, then pairs of blanks in what is left, both
// scanned from the front without looking at what was already dropped.
QString withoutLineEndsAndDoubleBlanks(QStringView page)
{
    QString text(page.size(), Qt::Uninitialized);
    QChar *const begin = text.data();
    QChar *out = begin;
    bool blankPending = false;
    for (auto in = page.begin(); in != page.end(); ++in) {
        if (*in == u'\r' && in + 1 != page.end() && in[1] == u'\n') {
            ++in;
        } else if (*in == u' ') {
            blankPending = !blankPending;
        } else {
            if (blankPending)
                *out++ = u' ';
            blankPending = false;
            *out++ = *in;
        }
    }
    if (blankPending)
        *out++ = u' ';
    text.truncate(out - begin);
    return text;
}

// The entity at the start of text and what replaces it, or an empty name.
Entity entityAt(QStringView text)
{
    for (const Entity &entity : entities) {
        if (text.startsWith(entity.name))
            return entity;
    }
    static constexpr QStringView ampersand = u"&amp;";
    if (!text.startsWith(ampersand))
        return {};
    for (const Entity &entity : afterAmpersand) {
        if (text.sliced(ampersand.size()).startsWith(entity.name))
            return {text.first(ampersand.size() + entity.name.size()), entity.text};
    }
    return {ampersand, u"&"};
}

// Rows 3 to 17. No entity holds an LF, so the last row can go in the same
// pass: an LF still splits an entity here, as it did before its row.
QString withEntitiesDecoded(const QString &text)
{
    QString page;
    page.reserve(text.size());
    qsizetype copied = 0;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        const Entity entity = c == u'&' ? entityAt(QStringView(text).sliced(i)) : Entity{};
        if (c != u'\n' && entity.name.isEmpty()) {
            ++i;
            continue;
        }
        page += QStringView(text).sliced(copied, i - copied);
        page += entity.text;
        i += c == u'\n' ? 1 : entity.name.size();
        copied = i;
    }
    page += QStringView(text).sliced(copied);
    return page;
}

// The first tag (a text starting with "<") at or after from, in any case.
// Looking for "<" alone is much faster than a case-insensitive search for the
// whole tag, which folds every character of the page.
qsizetype indexOfTag(QStringView page, QStringView tag, qsizetype from)
{
    for (qsizetype at = page.indexOf(u'<', from); at >= 0; at = page.indexOf(u'<', at + 1)) {
        if (page.sliced(at).startsWith(tag, Qt::CaseInsensitive))
            return at;
    }
    return -1;
}

// The sections as views into the page, so that the pipeline strips them
// without copying them first.
QList<QStringView> sectionsOf(QStringView page)
{
    QList<QStringView> sections;
    qsizetype start = indexOfTag(page, u"<h2>", 0);
    while (start >= 0 && sections.size() < WeekPage::maxSections) {
        const qsizetype next = indexOfTag(page, u"<h2>", start + 1);
        const qsizetype end = next >= 0 ? next : indexOfTag(page, u"<hr", start + 1);
        if (end >= 0)
            sections.append(page.sliced(start, end - start));
        start = next;
    }
    return sections;
}

} // namespace

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

// The table's 17 rows in two passes over the page. QString::replace would
// move the rest of the page once for every 1024 matches, which makes a page
// with many line ends or entities take quadratic time.
QString cleanPage(QStringView page)
{
    return withEntitiesDecoded(withoutLineEndsAndDoubleBlanks(page));
}

QStringList cutSections(const QString &page)
{
    QStringList sections;
    for (QStringView section : sectionsOf(page))
        sections.append(section.toString());
    return sections;
}

QString stripTags(QStringView section)
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
        text += section.sliced(pos, open - pos);
        if (section.sliced(open + 1, close - open - 1) == u"BR")
            text += lineBreak;
        pos = close + 1;
    }
    text += section.sliced(pos);
    return text;
}

Result parse(const QString &weekPage, const WeekPlan &previous)
{
    const QString page = cleanPage(platform::trimBlanks(weekPage));
    const QList<QStringView> sections = sectionsOf(page);
    WeekPlan weekPlan;
    if (sections.isEmpty()) {
        for (const QString &section : previous)
            weekPlan.append(stripTags(section));
    } else {
        weekPlan.reserve(sections.size());
        for (QStringView section : sections)
            weekPlan.append(stripTags(section));
    }
    return {weekPlan, !sections.isEmpty()};
}

} // namespace WeekPage

} // namespace kostwerk::core
