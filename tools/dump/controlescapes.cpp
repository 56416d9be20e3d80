// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/dump/controlescapes.h"

#include <QStringList>

namespace kostwerk::tools::ControlEscapes {

namespace {

bool isControl(char16_t c)
{
    return (c < 0x20 && c != u'\t') || (c >= 0x7f && c <= 0x9f);
}

QString hexEscape(char16_t c)
{
    return c < 0x80 ? QStringLiteral("\\x%1").arg(int(c), 2, 16, QLatin1Char('0'))
                    : QStringLiteral("\\u%1").arg(int(c), 4, 16, QLatin1Char('0'));
}

QString jsonEscape(char16_t c)
{
    return QStringLiteral("\\u%1").arg(int(c), 4, 16, QLatin1Char('0'));
}

QString replaceControls(QStringView text, QString (*escape)(char16_t))
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (isControl(c.unicode()))
            result += escape(c.unicode());
        else
            result += c;
    }
    return result;
}

} // namespace

QString escaped(QStringView text)
{
    return replaceControls(text, hexEscape);
}

QString escapedLines(QStringView text)
{
    QStringList lines;
    for (const QStringView line : text.split(u"\r\n"))
        lines += escaped(line);
    return lines.join(u"\r\n");
}

QByteArray escapedJson(const QByteArray &json)
{
    return replaceControls(QString::fromUtf8(json), jsonEscape).toUtf8();
}

} // namespace kostwerk::tools::ControlEscapes
