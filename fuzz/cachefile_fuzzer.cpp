// SPDX-License-Identifier: GPL-3.0-or-later

// The cache reader on any bytes, and the round trip of a week built from
// the input through the writer and the reader.

#include "core/cachefile.h"
#include "fuzz/fuzzcheck.h"

using namespace kostwerk::core;

using Fuzz::require;

namespace {

void checkDecode(QByteArrayView data)
{
    for (const QString &section : CacheFile::decode(data)) {
        require(section.isEmpty() || section.startsWith(lineBreak), "a section read back begins with CR LF");
        require(!section.contains(u";;;"), "every \";;;\" is read back as a comma");
    }
}

// A section the file can keep: no ";" (";" next to a comma would join the
// ";;;" that stands for it), and no LF outside a CR LF, which would start
// a line of its own.
QString storable(QStringView text)
{
    QString section;
    section.reserve(text.size());
    for (const QChar c : text) {
        if (c == u';')
            continue;
        if (c == u'\n' && !section.endsWith(u'\r'))
            section += u'\r';
        section += c;
    }
    return section;
}

bool holdsMarkerLine(const QString &section)
{
    const QList<QStringView> lines = QStringView(section).split(lineBreak);
    return lines.contains(CacheFile::marker);
}

// Sections are separated by the ASCII record separator.
void checkRoundTrip(const QString &text)
{
    WeekPlan weekPlan;
    WeekPlan expected;
    for (QStringView part : QStringView(text).split(QChar(0x1E))) {
        const QString section = storable(part);
        if (holdsMarkerLine(section))
            return; // a text line equal to the marker starts a section of its own
        weekPlan.append(section);
        expected.append(lineBreak + section);
    }
    const QByteArray encoded = CacheFile::encode(weekPlan);
    require(!encoded.contains(','), "the cache file holds no comma");
    require(CacheFile::decode(encoded) == expected, "every section reads back with CR LF in front");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView input = Fuzz::bytes(data, size);
    checkDecode(input);
    checkRoundTrip(Fuzz::windows1252(input));
    checkRoundTrip(Fuzz::utf8(input));
    return 0;
}
