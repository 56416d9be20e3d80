// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/pagedecoding.h"

#include "platform/ansicodepage.h"

#include <QRegularExpression>
#include <QStringDecoder>

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

} // namespace

DecodedPage decodePage(QByteArrayView body, QByteArrayView contentType)
{
    using AnsiCodePage::utf8ByteOrderMark;
    if (body.startsWith(utf8ByteOrderMark))
        return {QString::fromUtf8(body.sliced(utf8ByteOrderMark.size())), QStringLiteral("UTF-8")};

    const QString charset = declaredCharset(body, contentType);
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
