// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/ansicodepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <numeric>

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

// The character of every byte. The code page gives each byte exactly one, so
// looking the bytes up reads them as ICU does, without ICU's reserve of two
// characters per byte.
const QString &charactersOfBytes()
{
    static const QString characters = [] {
        QByteArray bytes(0x100, Qt::Uninitialized);
        std::iota(bytes.begin(), bytes.end(), '\0');
        QStringDecoder decoder(codePageName);
        return QString(decoder.decode(bytes));
    }();
    Q_ASSERT(characters.size() == 0x100);
    return characters;
}

} // namespace

namespace AnsiCodePage {

QString decode(QByteArrayView bytes)
{
    const QString &characters = charactersOfBytes();
    QString text(bytes.size(), Qt::Uninitialized);
    std::transform(bytes.begin(), bytes.end(), text.begin(),
                   [&characters](char byte) { return characters[uchar(byte)]; });
    return text;
}

QChar characterOf(char byte)
{
    return charactersOfBytes().at(uchar(byte));
}

QByteArray encode(const QString &text)
{
    QStringEncoder encoder(codePageName);
    const QByteArray bytes = encoder.encode(text);
    return encoder.hasError() ? encodeReplacing(text) : bytes;
}

std::optional<QByteArray> encodeExactly(QStringView text)
{
    QStringEncoder encoder(codePageName);
    QByteArray bytes = encoder.encode(text);
    // Each character that survives is one byte that reads back as itself.
    const QString &characters = charactersOfBytes();
    const auto readsBack = [&characters](char byte, QChar character) { return characters[uchar(byte)] == character; };
    if (encoder.hasError() || !std::equal(bytes.cbegin(), bytes.cend(), text.cbegin(), text.cend(), readsBack))
        return std::nullopt;
    return bytes;
}

bool canEncode(const QString &text)
{
    return encodeExactly(text).has_value();
}

} // namespace AnsiCodePage

} // namespace kostwerk::platform
