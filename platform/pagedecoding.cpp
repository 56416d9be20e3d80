// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/pagedecoding.h"

#include "platform/ansicodepage.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <optional>
#include <utility>

namespace kostwerk::platform {

namespace {

constexpr qsizetype sniffLength = 1024;

// The value after "charset=" in text, or empty text.
QString charsetIn(const QString &text, const QRegularExpression &pattern)
{
    return pattern.match(text).captured(1).toLower();
}

QString declaredCharset(QByteArrayView body, QByteArrayView contentType)
{
    static const QRegularExpression headerCharset(QStringLiteral(R"(charset\s*=\s*["']?\s*([\w.:-]+))"),
                                                  QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression metaCharset(QStringLiteral(R"(<meta\b[^>]*?charset\s*=\s*["']?\s*([\w.:-]+))"),
                                                QRegularExpression::CaseInsensitiveOption);

    const QString fromHeader = charsetIn(QString::fromLatin1(contentType), headerCharset);
    if (!fromHeader.isEmpty())
        return fromHeader;
    QString fromMeta = charsetIn(QString::fromLatin1(body.first(qMin(body.size(), sniffLength))), metaCharset);
    // A page that could be read far enough to find its meta tag is not UTF-16.
    if (fromMeta.startsWith(u"utf-16"))
        fromMeta = QStringLiteral("utf-8");
    return fromMeta;
}

bool isWindows1252(const QString &charset)
{
    static const QStringList aliases = {
        QStringLiteral("windows-1252"), QStringLiteral("cp1252"),    QStringLiteral("x-cp1252"),
        QStringLiteral("iso-8859-1"),   QStringLiteral("iso8859-1"), QStringLiteral("iso_8859-1"),
        QStringLiteral("latin1"),       QStringLiteral("l1"),        QStringLiteral("us-ascii"),
        QStringLiteral("ascii"),
    };
    return charset.isEmpty() || aliases.contains(charset);
}

bool isUtf8(const QString &charset)
{
    return QStringConverter::encodingForName(charset.toLatin1().constData()) == QStringConverter::Utf8;
}

bool inRange(uchar byte, uchar low = 0x80, uchar high = 0xBF)
{
    return byte >= low && byte <= high;
}

// The length of the well-formed UTF-8 sequence that starts at bytes[i], a
// byte of at least 0x80, or 0 when none does: overlong forms, surrogates,
// code points beyond U+10FFFF and cut-off sequences are none.
qsizetype sequenceLength(QByteArrayView bytes, qsizetype i)
{
    const auto at = [&](qsizetype offset) { return i + offset < bytes.size() ? uchar(bytes[i + offset]) : 0; };
    const uchar lead = at(0);
    if (inRange(lead, 0xC2, 0xDF))
        return inRange(at(1)) ? 2 : 0;
    if (inRange(lead, 0xE0, 0xEF)) {
        const bool second = inRange(at(1), lead == 0xE0 ? 0xA0 : 0x80, lead == 0xED ? 0x9F : 0xBF);
        return second && inRange(at(2)) ? 3 : 0;
    }
    if (inRange(lead, 0xF0, 0xF4)) {
        const bool second = inRange(at(1), lead == 0xF0 ? 0x90 : 0x80, lead == 0xF4 ? 0x8F : 0xBF);
        return second && inRange(at(2)) && inRange(at(3)) ? 4 : 0;
    }
    return 0;
}

// The characters of the bytes 0x80 to 0xFF in Windows-1252.
const QString &windows1252HighHalf()
{
    static const QString characters = [] {
        QByteArray bytes;
        for (int byte = 0x80; byte <= 0xFF; ++byte)
            bytes += char(byte);
        return AnsiCodePage::decode(bytes);
    }();
    Q_ASSERT(characters.size() == 0x80);
    return characters;
}

// UTF-8 read sequence by sequence: each byte that is part of no well-formed
// sequence, such as a Windows-1252 "ü" or "€" in an otherwise UTF-8 page,
// is read as Windows-1252, so that one stray byte costs one character, not
// the page's umlauts. Named "windows-1252" when no sequence was found at
// all, which reads exactly as Windows-1252 does.
DecodedPage decodeUtf8KeepingStrayBytes(QByteArrayView bytes)
{
    // A U+FEFF inside the page is a character like any other.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    if (bytes.isValidUtf8())
        return {utf8.decode(bytes), QStringLiteral("UTF-8")};

    // Each byte gives at most one UTF-16 unit, a four-byte sequence two.
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    bool sequenceFound = false;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        if (uchar(bytes[i]) < 0x80) {
            ++i;
        } else if (const qsizetype length = sequenceLength(bytes, i)) {
            sequenceFound = true;
            i += length;
        } else {
            out = utf8.appendToBuffer(out, bytes.sliced(runStart, i - runStart));
            *out++ = windows1252HighHalf().at(uchar(bytes[i]) - 0x80);
            runStart = ++i;
        }
    }
    out = utf8.appendToBuffer(out, bytes.sliced(runStart));
    text.truncate(out - text.constData());
    return {std::move(text), sequenceFound ? QStringLiteral("UTF-8+windows-1252") : QStringLiteral("windows-1252")};
}

// A page that starts with a byte-order mark is in that encoding, whatever
// its labels say.
std::optional<DecodedPage> decodeByByteOrderMark(QByteArrayView body)
{
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(body);
    if (!marked)
        return std::nullopt;
    if (*marked == QStringConverter::Utf8)
        return decodeUtf8KeepingStrayBytes(body.sliced(AnsiCodePage::utf8ByteOrderMark.size()));
    QStringDecoder decoder(*marked); // which passes over the mark
    QString text = decoder.decode(body);
    return DecodedPage{std::move(text), QString::fromLatin1(decoder.name())};
}

} // namespace

DecodedPage decodePage(QByteArrayView body, QByteArrayView contentType)
{
    if (std::optional<DecodedPage> marked = decodeByByteOrderMark(body))
        return std::move(*marked);

    const QString charset = declaredCharset(body, contentType);
    if (isUtf8(charset))
        return decodeUtf8KeepingStrayBytes(body);
    // An unlabelled page of well-formed UTF-8 with a character beyond ASCII
    // is UTF-8: Windows-1252 text hardly ever forms such sequences.
    if (charset.isEmpty() && body.isValidUtf8()) {
        QString text = QString::fromUtf8(body);
        if (text.size() < body.size())
            return {std::move(text), QStringLiteral("UTF-8")};
    }
    if (!isWindows1252(charset)) {
        // Stateless, so that a sequence cut off at the end counts as an error too.
        QStringDecoder decoder(charset.toLatin1().constData(), QStringConverter::Flag::Stateless);
        QString text = decoder.decode(body);
        if (decoder.isValid() && !decoder.hasError())
            return {std::move(text), QString::fromLatin1(decoder.name())};
    }
    return {AnsiCodePage::decode(body), QStringLiteral("windows-1252")};
}

} // namespace kostwerk::platform
