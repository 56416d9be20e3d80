// SPDX-License-Identifier: GPL-3.0-or-later

// The settings file's reader on any file, and the writer and reader
// together: what the writer stores, the settings store reads back, and no
// other key changes; a value with a line break is refused and changes
// nothing.

#include "fuzz/fuzzcheck.h"
#include "platform/ansicodepage.h"
#include "platform/profilefile.h"
#include "settings/settings.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QFile>
#include <QTemporaryDir>

using Fuzz::require;
namespace AnsiCodePage = kostwerk::platform::AnsiCodePage;
using kostwerk::settings::SettingsStore::readIni;

namespace {

constexpr qsizetype readLimit = kostwerk::settings::SettingsStore::maxValueLength;

const QString &iniPath()
{
    static const QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("refekt.ini"));
    return path;
}

QByteArray fileBytes()
{
    QFile file(iniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void replaceFile(bool exists, const std::string &contents)
{
    QFile file(iniPath());
    if (!exists) {
        file.remove();
        return;
    }
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the test file can be written");
    file.write(contents.data(), qsizetype(contents.size()));
}

QString text(FuzzedDataProvider &in, size_t maxLength)
{
    const std::string bytes = in.ConsumeRandomLengthString(maxLength);
    return Fuzz::windows1252(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

bool holdsLineBreak(const QString &s)
{
    return s.contains(u'\r') || s.contains(u'\n');
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool hasSurroundingBlanks(const QString &s)
{
    return !s.isEmpty() && (isBlank(s.front()) || isBlank(s.back()));
}

// Profile files ignore blanks around names.
QString withoutSurroundingBlanks(const QString &s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlank(s.at(begin)))
        ++begin;
    while (end > begin && isBlank(s.at(end - 1)))
        --end;
    return s.mid(begin, end - begin);
}

// Section and key names a program could use: one line, no "=" or "]", and
// not a comment or section header once the blanks around it are gone.
bool isSaneName(const QString &name)
{
    const QString trimmed = withoutSurroundingBlanks(name);
    return !trimmed.isEmpty() && !name.contains(u'=') && !name.contains(u']') && !holdsLineBreak(name)
           && !trimmed.startsWith(u';') && !trimmed.startsWith(u'[') && AnsiCodePage::canEncode(name);
}

// Values that read back unchanged: one line, no blanks or matching quotes
// around them (the reader drops those), and only characters of the code page.
bool isStorableValue(const QString &value)
{
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
                        && value.back() == value.front();
    return !quoted && !hasSurroundingBlanks(value) && !holdsLineBreak(value) && AnsiCodePage::canEncode(value);
}

void checkRead(const QString &section, const QString &key)
{
    const QString value = readIni(iniPath(), section, key);
    require(value.size() <= readLimit, "a value read is at most 254 characters");
    require(!holdsLineBreak(value), "a value read is one line");
}

bool sameName(const QString &a, const QString &b)
{
    return withoutSurroundingBlanks(a).compare(withoutSurroundingBlanks(b), Qt::CaseInsensitive) == 0;
}

void checkWrite(const QString &section, const QString &key, const QString &value, const QString &otherSection,
                const QString &otherKey)
{
    const QString otherBefore = readIni(iniPath(), otherSection, otherKey);
    require(kostwerk::platform::ProfileFile::writeString(iniPath(), section, key, value).ok(),
            "writing the settings file succeeds");
    require(readIni(iniPath(), section, key) == value.left(readLimit), "a value written reads back the same");
    if (!sameName(section, otherSection) || !sameName(key, otherKey))
        require(readIni(iniPath(), otherSection, otherKey) == otherBefore, "writing a key changes no other key");
}

// A line break would put a line of its own into the file.
void checkLineBreakRefused(const QString &section, const QString &key, const QString &value)
{
    const QByteArray before = fileBytes();
    require(!kostwerk::platform::ProfileFile::writeString(iniPath(), section, key, value).ok(),
            "a value with a line break is refused");
    require(fileBytes() == before, "a refused value leaves the file as it was");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool fileExists = in.ConsumeBool();
    const std::string contents = in.ConsumeRandomLengthString(4096);
    const QString section = text(in, 64);
    const QString key = text(in, 64);
    const QString value = text(in, 400);
    const QString secondValue = text(in, 400);
    const QString otherSection = text(in, 64);
    const QString otherKey = text(in, 64);

    replaceFile(fileExists, contents);
    checkRead(section, key);
    checkRead(otherSection, otherKey);

    if (!isSaneName(section) || !isSaneName(key))
        return 0;
    if (holdsLineBreak(value))
        checkLineBreakRefused(section, key, value);
    if (!isStorableValue(value))
        return 0;
    checkWrite(section, key, value, otherSection, otherKey);
    if (isStorableValue(secondValue))
        checkWrite(section, key, secondValue, otherSection, otherKey);
    return 0;
}
