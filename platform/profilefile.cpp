// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/profilefile.h"

#include "platform/ansicodepage.h"
#include "platform/atomicfile.h"
#include "platform/blanks.h"
#include "platform/fileaccess.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>
#include <utility>
#include <vector>

namespace kostwerk::platform {

namespace {

// Profile files are Windows-1252, except one that an editor saved with a
// byte order mark: UTF-8, or UTF-16 as Windows editors save "Unicode". That
// one is read and written in its own encoding, as the Windows profile
// functions do.
struct Encoding
{
    std::optional<QStringConverter::Encoding> unicode; // none for Windows-1252
    QByteArrayView byteOrderMark;

    static Encoding of(QByteArrayView data)
    {
        const std::pair<QByteArrayView, QStringConverter::Encoding> marks[] = {
            {AnsiCodePage::utf8ByteOrderMark, QStringConverter::Utf8},
            {"\xFF\xFE", QStringConverter::Utf16LE},
            {"\xFE\xFF", QStringConverter::Utf16BE},
        };
        for (const auto &[mark, encoding] : marks) {
            if (data.startsWith(mark))
                return {encoding, mark};
        }
        return {};
    }

    // UTF-16 has units of two bytes, in which a line ends as in the others.
    qsizetype unitSize() const
    {
        return unicode == QStringConverter::Utf16LE || unicode == QStringConverter::Utf16BE ? 2 : 1;
    }
    char16_t unitAt(QByteArrayView data, qsizetype i) const
    {
        if (unitSize() == 1)
            return uchar(data[i]);
        const auto [low, high] = unicode == QStringConverter::Utf16LE ? std::pair(data[i], data[i + 1])
                                                                      : std::pair(data[i + 1], data[i]);
        return char16_t(uchar(low) | uchar(high) << 8);
    }

    QString decode(QByteArrayView bytes) const
    {
        return unicode ? QStringDecoder(*unicode).decode(bytes) : AnsiCodePage::decode(bytes);
    }
    QByteArray encode(const QString &text) const
    {
        return unicode ? QByteArray(QStringEncoder(*unicode).encode(text)) : AnsiCodePage::encode(text);
    }

    // The first character of text that the encoding cannot hold, or empty
    // text: one beyond Windows-1252, or a lone surrogate, which no
    // encoding holds.
    QString unencodableIn(const QString &text) const
    {
        for (qsizetype i = 0; i < text.size();) {
            const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
            const QString character = text.mid(i, pair ? 2 : 1);
            if ((!pair && character.front().isSurrogate()) || (!unicode && !AnsiCodePage::canEncode(character)))
                return character;
            i += character.size();
        }
        return {};
    }
};

struct Line
{
    QByteArray bytes;  // without its line end, exactly as in the file
    QByteArray ending; // "\r\n", "\n", "\r" or empty for a last line without one
};

using Lines = std::vector<Line>;

// A file's lines, after its byte order mark if it has one, and the odd last
// byte of a UTF-16 file, which is no character and stays at the end.
struct Profile
{
    Encoding encoding;
    Lines lines;
    QByteArray oddByte;

    QByteArray bytes() const
    {
        QByteArray bytes = encoding.byteOrderMark.toByteArray();
        for (const Line &line : lines)
            bytes += line.bytes + line.ending;
        return bytes + oddByte;
    }
};

Profile parse(QByteArrayView file)
{
    Profile profile{Encoding::of(file), {}, {}};
    const Encoding &encoding = profile.encoding;
    const qsizetype unit = encoding.unitSize();
    QByteArrayView data = file.sliced(encoding.byteOrderMark.size());
    profile.oddByte = data.last(data.size() % unit).toByteArray();
    data.chop(profile.oddByte.size());

    qsizetype start = 0;
    for (qsizetype i = 0; i < data.size(); i += unit) {
        const char16_t c = encoding.unitAt(data, i);
        if (c != u'\r' && c != u'\n')
            continue;
        const bool crlf = c == u'\r' && i + unit < data.size() && encoding.unitAt(data, i + unit) == u'\n';
        const qsizetype endLength = crlf ? 2 * unit : unit;
        profile.lines.push_back({data.sliced(start, i - start).toByteArray(), data.sliced(i, endLength).toByteArray()});
        i += endLength - unit;
        start = i + unit;
    }
    if (start < data.size())
        profile.lines.push_back({data.sliced(start).toByteArray(), QByteArray()});
    return profile;
}

// Blanks around names and values do not count, tabs included.
QString withoutBlanks(QStringView text)
{
    return trimBlanks(text, u" \t").toString();
}

// The name of a section header line, or nothing for any other line. As the
// Windows profile functions read it, the name runs to the last "]" of the
// line and the rest is ignored; a line without "]" is no header.
std::optional<QString> sectionName(const QString &trimmed)
{
    const qsizetype close = trimmed.lastIndexOf(u']');
    if (!trimmed.startsWith(u'[') || close < 0)
        return std::nullopt;
    return withoutBlanks(QStringView(trimmed).sliced(1, close - 1));
}

struct Entry
{
    QString key;
    QString value;
};

// The key and value of an entry line, or nothing for comments and blank lines.
std::optional<Entry> entry(const QString &trimmed)
{
    if (trimmed.isEmpty() || trimmed.startsWith(u';'))
        return std::nullopt;
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    return Entry{withoutBlanks(QStringView(trimmed).left(equals)), withoutBlanks(QStringView(trimmed).mid(equals + 1))};
}

QString unquoted(const QString &value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a key stands in the file: its section header, the last entry line of
// the section, and the key's own line, as line indexes.
struct Location
{
    std::optional<size_t> header;
    std::optional<size_t> lastEntry;
    std::optional<size_t> keyLine;
    QString keySpelling;
    QString value;
};

Location locate(const Profile &profile, const QString &section, const QString &key)
{
    Location found;
    bool inSection = false;
    const Lines &lines = profile.lines;
    for (size_t i = 0; i < lines.size(); ++i) {
        const QString trimmed = withoutBlanks(profile.encoding.decode(lines[i].bytes));
        if (const auto name = sectionName(trimmed)) {
            if (inSection)
                break; // only the first section of that name counts
            inSection = sameName(*name, section);
            if (inSection)
                found.header = i;
            continue;
        }
        if (!inSection)
            continue;
        const auto keyValue = entry(trimmed);
        if (!keyValue)
            continue;
        found.lastEntry = i;
        if (!found.keyLine && sameName(keyValue->key, key)) {
            found.keyLine = i;
            found.keySpelling = keyValue->key;
            found.value = unquoted(keyValue->value);
        }
    }
    return found;
}

// A file's bytes; a missing file reads as empty. A file that exists but
// cannot be read gives the reason instead.
FileRead readAll(const QString &file)
{
    if (!QFileInfo::exists(file))
        return {};
    return readFile(file, ProfileFile::maxFileSize);
}

bool holdsLineBreak(const QString &text)
{
    return text.contains(u'\r') || text.contains(u'\n');
}

QByteArray lineEndingOf(const Profile &profile)
{
    for (const Line &line : profile.lines) {
        if (!line.ending.isEmpty())
            return line.ending;
    }
    return profile.encoding.encode(QStringLiteral("\r\n"));
}

} // namespace

namespace ProfileFile {

QString readString(const QString &file, const QString &section, const QString &key)
{
    return locate(parse(readAll(file).bytes), withoutBlanks(section), withoutBlanks(key)).value;
}

FileFailure readFailure(const QString &file)
{
    return readAll(file).failure;
}

QString unwritableCharacter(const QString &file, const QString &text)
{
    return parse(readAll(file).bytes).encoding.unencodableIn(text);
}

WriteResult writeString(const QString &file, const QString &givenSection, const QString &givenKey, const QString &value)
{
    // Names match without the blanks around them, so they are written without.
    const QString section = withoutBlanks(givenSection);
    const QString key = withoutBlanks(givenKey);
    // A line break would end the entry's line and start one of its own.
    if (holdsLineBreak(section) || holdsLineBreak(key) || holdsLineBreak(value))
        return {{FileFailure::Kind::LineBreak, {}}};
    const FileRead contents = readAll(file);
    if (!contents.ok())
        return {contents.failure}; // never replace a file we could not read

    Profile profile = parse(contents.bytes);
    // What the file cannot hold would come out as another character.
    for (const QString &text : {section, key, value}) {
        if (!profile.encoding.unencodableIn(text).isEmpty())
            return {{FileFailure::Kind::Unencodable, {}}};
    }
    Lines &lines = profile.lines;
    const QByteArray ending = lineEndingOf(profile);
    const Location found = locate(profile, section, key);
    auto entryLine = [&](const QString &name) { return Line{profile.encoding.encode(name + u'=' + value), ending}; };

    if (found.keyLine) {
        lines[*found.keyLine].bytes = entryLine(found.keySpelling).bytes;
    } else {
        if (!lines.empty() && lines.back().ending.isEmpty())
            lines.back().ending = ending;
        if (found.header) {
            const size_t after = found.lastEntry.value_or(*found.header);
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after + 1), entryLine(key));
        } else {
            lines.push_back({profile.encoding.encode(u'[' + section + u']'), ending});
            lines.push_back(entryLine(key));
        }
    }

    return writeFileAtomically(PathBelow::inFolderOf(file), profile.bytes());
}

} // namespace ProfileFile

} // namespace kostwerk::platform
