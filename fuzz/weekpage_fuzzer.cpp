// SPDX-License-Identifier: GPL-3.0-or-later

// The start page's link finder and the week page pipeline (clean, cut,
// strip) on any page, read as Windows-1252 and as UTF-8; and the page
// decoder on any bytes under a UTF-8 label.

#include "core/weekpage.h"
#include "fuzz/fuzzcheck.h"
#include "platform/blanks.h"
#include "platform/pagedecoding.h"

#include <QStringDecoder>

#include <array>
#include <utility>

using namespace kostwerk;
using namespace kostwerk::core;

using Fuzz::require;

namespace {

// The cleaning table the plain way, one replacement of the whole page per
// row, to hold a faster cleaner to.
QString cleanedRowByRow(QString page)
{
    const std::array<std::pair<QStringView, QStringView>, 17> table = {{
        {u"\r\n", u""},
        {u"  ", u""},
        {u"&nbsp;", u" "},
        {u"&quot;", u"\""},
        {u"&auml;", u"ä"},
        {u"&Auml;", u"Ä"},
        {u"&ouml;", u"ö"},
        {u"&Ouml;", u"Ö"},
        {u"&uuml;", u"ü"},
        {u"&Uuml;", u"Ü"},
        {u"&szlig;", u"ß"},
        {u"&amp;", u"&"},
        {u"&lt;", u"<"},
        {u"&gt;", u">"},
        {u"&copy;", u"Copyright"},
        {u"&reg;", u"Eingetragenes Warenzeichen"},
        {u"\n", u""},
    }};
    for (const auto &[find, replacement] : table)
        page.replace(find.toString(), replacement.toString());
    return page;
}

// Tag stripping the plain way: always the first "<" and the first ">" after
// it, until no "<" is left or the first one has no ">" after it.
QString strippedOneByOne(QString section)
{
    for (qsizetype open = section.indexOf(u'<'); open >= 0; open = section.indexOf(u'<')) {
        const qsizetype close = section.indexOf(u'>', open + 1);
        if (close < 0)
            break;
        const bool lineBreakTag = QStringView(section).sliced(open + 1, close - open - 1) == u"BR";
        section.replace(open, close - open + 1, lineBreakTag ? lineBreak.toString() : QString());
    }
    return section;
}

// UTF-8 with stray bytes the plain way, to hold the page decoder to: at
// each byte, the shortest run of at most four bytes that Qt's decoder reads
// without error is a character; a byte that starts none is Windows-1252.
QString utf8WithStrayBytesOneByOne(QByteArrayView bytes)
{
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        qsizetype length = 0;
        QString character;
        for (qsizetype tried = 1; tried <= 4 && i + tried <= bytes.size() && length == 0; ++tried) {
            QStringDecoder utf8(QStringConverter::Utf8,
                                QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
            character = utf8.decode(bytes.sliced(i, tried));
            if (!utf8.hasError())
                length = tried;
        }
        if (length == 0) {
            character = Fuzz::windows1252(bytes.sliced(i, 1));
            length = 1;
        }
        text += character;
        i += length;
    }
    return text;
}

void checkUtf8Decoding(QByteArrayView input)
{
    // A leading letter keeps a byte-order mark at the input's start from
    // choosing another encoding.
    const QByteArray page = 'x' + input.toByteArray();
    require(platform::decodePage(page, "text/html; charset=utf-8").text == utf8WithStrayBytesOneByOne(page),
            "a UTF-8 page reads sequence by sequence, each stray byte as Windows-1252");
}

void checkWeekLink(const QString &page)
{
    const QString link = WeekPage::findWeekLink(page);
    require(page.contains(link), "the week link is a substring of the page");
    if (link.isEmpty())
        return;
    require(link.front() == u't' || link.front() == u'T', "the week link starts with the t after HREF=\"");
    require(!link.contains(u">Vom"), "the week link ends before the first \">Vom\"");
}

// Every LF of a stripped section is part of a CR LF from a <BR>: the
// cleaning removed the page's own.
bool lineFeedsOnlyInLineBreaks(const QString &section)
{
    for (qsizetype i = section.indexOf(u'\n'); i >= 0; i = section.indexOf(u'\n', i + 1)) {
        if (i == 0 || section.at(i - 1) != u'\r')
            return false;
    }
    return true;
}

void checkPipeline(const QString &page)
{
    const QString cleaned = WeekPage::cleanPage(page);
    require(cleaned == cleanedRowByRow(page), "cleaning gives what the table's rows give one after the other");
    require(!cleaned.contains(u'\n'), "the cleaned page holds no LF");

    const WeekPlan previous{QStringLiteral("<h2>Alte Woche</h2><BR>"), QStringLiteral("Montag<BR>Eintopf")};
    const WeekPage::Result result = WeekPage::parse(page, previous);
    if (!result.sectionsFound) {
        const WeekPlan stripped{QStringLiteral("Alte Woche\r\n"), QStringLiteral("Montag\r\nEintopf")};
        require(result.weekPlan == stripped, "a page without sections keeps the previous week, stripped");
        return;
    }
    require(!result.weekPlan.isEmpty(), "found sections are kept");
    require(result.weekPlan.size() <= WeekPage::maxSections, "at most maxSections sections");
    const QString cleanedAsParsed = WeekPage::cleanPage(platform::trimBlanks(page));
    require(result.weekPlan.size() <= cleanedAsParsed.count(u"<h2>", Qt::CaseInsensitive),
            "no more sections than \"<h2>\" headings");
    for (const QString &section : result.weekPlan) {
        require(Fuzz::holdsNoTag(section), "a stripped section holds no tag");
        require(lineFeedsOnlyInLineBreaks(section), "a stripped section has LF only in CR LF");
    }
}

void checkStripTags(const QString &text)
{
    const QString stripped = WeekPage::stripTags(text);
    require(stripped == strippedOneByOne(text), "stripping gives what removing tag after tag gives");
    require(Fuzz::holdsNoTag(stripped), "stripping leaves no tag");
    if (!text.contains(u'<'))
        require(stripped == text, "text without \"<\" is left as it is");
}

void check(const QString &page)
{
    checkWeekLink(page);
    checkPipeline(page);
    checkStripTags(page);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    checkUtf8Decoding(Fuzz::bytes(data, size));
    return Fuzz::checkBothEncodings(data, size, check);
}
