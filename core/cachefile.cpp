// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/cachefile.h"

#include "platform/ansicodepage.h"
#include "platform/atomicfile.h"
#include "platform/fileaccess.h"

namespace kostwerk::core {

using platform::AnsiCodePage::utf8ByteOrderMark;

namespace CacheFile {

QByteArray encode(const WeekPlan &weekPlan)
{
    QString text;
    for (const QString &section : weekPlan) {
        text += marker + lineBreak;
        text += QString(section).replace(u',', QStringLiteral(";;;")) + lineBreak;
    }
    if (platform::AnsiCodePage::canEncode(text))
        return platform::AnsiCodePage::encode(text);
    return utf8ByteOrderMark + text.toUtf8();
}

QString text(QByteArrayView data)
{
    return data.startsWith(utf8ByteOrderMark) ? QString::fromUtf8(data.sliced(utf8ByteOrderMark.size()))
                                              : platform::AnsiCodePage::decode(data);
}

WeekPlan decode(QByteArrayView data)
{
    const QString text = CacheFile::text(data);
    WeekPlan weekPlan;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        QStringView line = QStringView(text).sliced(start, end - start);
        if (line.endsWith(u'\r'))
            line.chop(1);
        start = end + 1;

        if (line == marker)
            weekPlan.append(QString());
        else if (!weekPlan.isEmpty())
            weekPlan.last() += lineBreak + line.toString().replace(QStringLiteral(";;;"), QStringLiteral(","));
    }
    return weekPlan;
}

} // namespace CacheFile

platform::WriteResult writeCache(const platform::PathBelow &file, const WeekPlan &weekPlan)
{
    using Kind = platform::FileFailure::Kind;
    if (weekPlan.isEmpty())
        return {};
    const platform::Below::Folder folder = platform::Below::openFolderOf(file);
    // The cache's name may have been set to another file's; that file stays.
    const platform::FileRead existing = platform::readFile(folder, CacheFile::maxFileSize);
    if (!existing.ok() && existing.failure.kind != Kind::Missing)
        return {existing.failure};
    if (!existing.bytes.isEmpty() && CacheFile::decode(existing.bytes).isEmpty())
        return {{Kind::ForeignFile, {}}};
    return platform::writeFileAtomically(folder, CacheFile::encode(weekPlan));
}

LoadedCache loadCache(const platform::PathBelow &file)
{
    const platform::FileRead read = platform::readFile(file, CacheFile::maxFileSize);
    if (!read.ok())
        return {{}, read.failure, {}};
    return {CacheFile::decode(read.bytes), {}, read.modified};
}

} // namespace kostwerk::core
