// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ansicodepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kostwerk::platform {

namespace {

constexpr char codePageName[] = "windows-1252";

// Encodes one code point at a time so that each unmappable one becomes the
// question mark, as the Windows conversion did.
QByteArray encodeReplacing(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder encoder(codePageName);
        const QByteArray piece = encoder.encode(QStringView(text).mid(i, length));
        bytes += encoder.hasError() ? QByteArray("?") : piece;
        i += length;
    }
    return bytes;
}

} // namespace

namespace AnsiCodePage {

QString decode(QByteArrayView bytes)
{
    QStringDecoder decoder(codePageName);
    return decoder.decode(bytes);
}

QByteArray encode(const QString &text)
{
    QStringEncoder encoder(codePageName);
    const QByteArray bytes = encoder.encode(text);
    return encoder.hasError() ? encodeReplacing(text) : bytes;
}

bool canEncode(const QString &text)
{
    QStringEncoder encoder(codePageName);
    const QByteArray bytes = encoder.encode(text);
    return !encoder.hasError() && decode(bytes) == text;
}

} // namespace AnsiCodePage

} // namespace kostwerk::platform
