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

WeekPlan decode(QByteArrayView data)
{
    const QString text = data.startsWith(utf8ByteOrderMark)
                             ? QString::fromUtf8(data.sliced(utf8ByteOrderMark.size()))
                             : platform::AnsiCodePage::decode(data);
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

platform::WriteResult writeCache(const QString &path, const WeekPlan &weekPlan)
{
    if (weekPlan.isEmpty())
        return {};
    // The cache's name may have been set to another file's; that file stays.
    if (platform::fileExists(path)) {
        const platform::FileRead existing = platform::readFile(path, CacheFile::maxFileSize);
        if (!existing.ok())
            return platform::WriteResult::failure(existing.error);
        if (!existing.bytes.isEmpty() && CacheFile::decode(existing.bytes).isEmpty())
            return platform::WriteResult::failure(QStringLiteral("Not a cache file, left as it is: ") + path);
    }
    return platform::writeFileAtomically(path, CacheFile::encode(weekPlan));
}

LoadedCache loadCache(const QString &path)
{
    const platform::FileRead file = platform::readFile(path, CacheFile::maxFileSize);
    if (!file.ok())
        return {{}, file.error};
    return {CacheFile::decode(file.bytes), {}};
}

} // namespace kostwerk::core
