// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/dump/controlescapes.h"

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

// Lines keep their CR LF: a CR right before an LF, and that LF, are no
// controls to escape.
enum class LineEnds { Escaped, Kept };

qsizetype nextControl(QStringView text, qsizetype from, LineEnds lineEnds)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (lineEnds == LineEnds::Kept && text[i] == u'\r' && text.sliced(i).startsWith(u"\r\n"))
            ++i;
        else if (isControl(text[i].unicode()))
            return i;
    }
    return text.size();
}

// Copies the text between two controls as a whole, so that text without
// any, the usual case, is copied at once.
QString replaceControls(QStringView text, QString (*escape)(char16_t), LineEnds lineEnds = LineEnds::Escaped)
{
    qsizetype control = nextControl(text, 0, lineEnds);
    if (control == text.size())
        return text.toString();
    QString result;
    result.reserve(text.size());
    qsizetype start = 0;
    while (control < text.size()) {
        result += text.sliced(start, control - start) + escape(text[control].unicode());
        start = control + 1;
        control = nextControl(text, start, lineEnds);
    }
    return result + text.sliced(start);
}

} // namespace

QString escaped(QStringView text)
{
    return replaceControls(text, hexEscape);
}

QString escapedLines(QStringView text)
{
    return replaceControls(text, hexEscape, LineEnds::Kept);
}

QByteArray escapedJson(const QByteArray &json)
{
    return replaceControls(QString::fromUtf8(json), jsonEscape).toUtf8();
}

} // namespace kostwerk::tools::ControlEscapes
