// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QString>

namespace kostwerk::platform {

// A downloaded page as text, and the charset it was read in ("UTF-8",
// "windows-1252", or the declared charset as Qt names it).
struct DecodedPage
{
    QString text;
    QString charset;
};

// Decodes a downloaded page. The bytes are Windows-1252 unless the page says
// otherwise: a UTF-8 byte-order mark, a charset in the HTTP Content-Type
// header, or a <meta charset> / <meta http-equiv="Content-Type"> in the first
// 1024 bytes, in this order of precedence. A declared ISO-8859-1 (or ASCII)
// is read as Windows-1252, as browsers do; an unknown charset, and one the
// bytes do not fit (a page labelled UTF-8 that holds a Windows-1252 "ü"),
// falls back to Windows-1252.
DecodedPage decodePage(QByteArrayView body, QByteArrayView contentType = {});

} // namespace kostwerk::platform
