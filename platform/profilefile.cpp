#include "platform/profilefile.h"

#include "platform/ansicodepage.h"
#include "platform/atomicfile.h"

#include <QFile>

#include <optional>
#include <vector>

namespace kostwerk::platform {

namespace {

const QByteArray crlf = QByteArrayLiteral("\r\n");

struct Line
{
    QByteArray bytes;   // without its line end, exactly as in the file
    QByteArray ending;  // "\r\n", "\n", "\r" or empty for a last line without one
};

using Lines = std::vector<Line>;

Lines splitLines(const QByteArray &data)
{
    Lines lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char c = data.at(i);
        if (c != '\r' && c != '\n')
            continue;
        const qsizetype endLength = (c == '\r' && i + 1 < data.size() && data.at(i + 1) == '\n') ? 2 : 1;
        lines.push_back({data.mid(start, i - start), data.mid(i, endLength)});
        i += endLength - 1;
        start = i + 1;
    }
    if (start < data.size())
        lines.push_back({data.mid(start), QByteArray()});
    return lines;
}

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == u' ' || text[begin] == u'\t'))
        ++begin;
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    return text.mid(begin, end - begin).toString();
}

// The name of a section header line, or nothing for any other line.
std::optional<QString> sectionName(const QString &trimmed)
{
    if (!trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(u']');
    return trimBlanks(QStringView(trimmed).mid(1, close < 0 ? -1 : close - 1));
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
    return Entry{trimBlanks(QStringView(trimmed).left(equals)),
                 trimBlanks(QStringView(trimmed).mid(equals + 1))};
}

QString unquoted(const QString &value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
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

Location locate(const Lines &lines, const QString &section, const QString &key)
{
    Location found;
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const QString trimmed = trimBlanks(AnsiCodePage::decode(lines[i].bytes));
        if (const auto name = sectionName(trimmed)) {
            if (inSection)
                break;  // only the first section of that name counts
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
struct Contents
{
    QByteArray bytes;
    QString error;
};

Contents readAll(const QString &file)
{
    QFile in(file);
    if (!in.exists())
        return {};
    if (!in.open(QIODevice::ReadOnly))
        return {{}, in.errorString()};
    return {in.readAll(), {}};
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
    return locate(splitLines(readAll(file).bytes), trimBlanks(section), trimBlanks(key)).value;
}

WriteResult writeString(const QString &file, const QString &givenSection, const QString &givenKey,
                        const QString &value)
{
    // Names match without the blanks around them, so they are written without.
    const QString section = trimBlanks(givenSection);
    const QString key = trimBlanks(givenKey);
    const Contents contents = readAll(file);
    if (!contents.error.isEmpty())
        return WriteResult::failure(contents.error);  // never replace a file we could not read

    Lines lines = splitLines(contents.bytes);
    const QByteArray ending = lineEndingOf(lines);
    const Location found = locate(lines, section, key);
    auto entryLine = [&](const QString &name) {
        return Line{AnsiCodePage::encode(name + u'=' + value), ending};
    };

    if (found.keyLine) {
        lines[*found.keyLine].bytes = entryLine(found.keySpelling).bytes;
    } else {
        if (!lines.empty() && lines.back().ending.isEmpty())
            lines.back().ending = ending;
        if (found.header) {
            const size_t after = found.lastEntry.value_or(*found.header);
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after + 1), entryLine(key));
        } else {
            lines.push_back({AnsiCodePage::encode(u'[' + section + u']'), ending});
            lines.push_back(entryLine(key));
        }
    }

    QByteArray bytes;
    for (const Line &line : lines)
        bytes += line.bytes + line.ending;
    return writeFileAtomically(file, bytes);
}

} // namespace ProfileFile

} // namespace kostwerk::platform
