#include "cachefile.h"

#include "ansicodepage.h"
#include "atomicfile.h"

#include <QFile>

namespace {

const QByteArray utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

} // namespace

namespace CacheFile {

QByteArray encode(const WeekPlan &weekPlan)
{
    QString text;
    for (const QString &section : weekPlan) {
        text += marker + lineBreak;
        text += QString(section).replace(u',', QStringLiteral(";;;")) + lineBreak;
    }
    if (AnsiCodePage::canEncode(text))
        return AnsiCodePage::encode(text);
    return utf8Bom + text.toUtf8();
}

WeekPlan decode(QByteArrayView data)
{
    const QString text = data.startsWith(utf8Bom) ? QString::fromUtf8(data.sliced(utf8Bom.size()))
                                                  : AnsiCodePage::decode(data);
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

bool writeCache(const QString &path, const WeekPlan &weekPlan)
{
    if (weekPlan.isEmpty())
        return true;
    return writeFileAtomically(path, CacheFile::encode(weekPlan));
}

std::optional<WeekPlan> loadCache(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return CacheFile::decode(file.readAll());
}
