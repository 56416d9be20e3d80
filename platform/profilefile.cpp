// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/profilefile.h"

#include "platform/ansicodepage.h"
#include "platform/atomicfile.h"
#include "platform/blanks.h"
#include "platform/fileaccess.h"

#include <QFileInfo>

#include <optional>
#include <vector>

namespace kostwerk::platform {

namespace {

const QByteArray crlf = QByteArrayLiteral("\r\n");

using AnsiCodePage::utf8ByteOrderMark;

// Profile files are Windows-1252, except one that an editor saved with a
// UTF-8 byte order mark: that one is read and written as UTF-8.
struct Encoding
{
    bool utf8 = false;

    QString decode(QByteArrayView bytes) const { return utf8 ? QString::fromUtf8(bytes) : AnsiCodePage::decode(bytes); }
    QByteArray encode(const QString &text) const { return utf8 ? text.toUtf8() : AnsiCodePage::encode(text); }
};

struct Line
{
    QByteArray bytes;  // without its line end, exactly as in the file
    QByteArray ending; // "\r\n", "\n", "\r" or empty for a last line without one
};

using Lines = std::vector<Line>;

// A file's lines, after its byte order mark if it has one.
struct Profile
{
    Encoding encoding;
    Lines lines;

    QByteArray bytes() const
    {
        QByteArray bytes = encoding.utf8 ? utf8ByteOrderMark : QByteArray();
        for (const Line &line : lines)
            bytes += line.bytes + line.ending;
        return bytes;
    }
};

Lines splitLines(QByteArrayView data)
{
    Lines lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char c = data.at(i);
        if (c != '\r' && c != '\n')
            continue;
        const qsizetype endLength = (c == '\r' && i + 1 < data.size() && data.at(i + 1) == '\n') ? 2 : 1;
        lines.push_back({data.sliced(start, i - start).toByteArray(), data.sliced(i, endLength).toByteArray()});
        i += endLength - 1;
        start = i + 1;
    }
    if (start < data.size())
        lines.push_back({data.sliced(start).toByteArray(), QByteArray()});
    return lines;
}

Profile parse(QByteArrayView data)
{
    const bool utf8 = data.startsWith(utf8ByteOrderMark);
    return {{utf8}, splitLines(utf8 ? data.sliced(utf8ByteOrderMark.size()) : data)};
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

QByteArray lineEndingOf(const Lines &lines)
{
    for (const Line &line : lines) {
        if (!line.ending.isEmpty())
            return line.ending;
    }
    return crlf;
}

} // namespace

namespace ProfileFile {

QString readString(const QString &file, const QString &section, const QString &key)
{
    return locate(parse(readAll(file).bytes), withoutBlanks(section), withoutBlanks(key)).value;
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
    Lines &lines = profile.lines;
    const QByteArray ending = lineEndingOf(lines);
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
