// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QString>

namespace kostwerk::platform {

// A downloaded page as text, and the charset it was read in ("UTF-8",
// "windows-1252", "UTF-8+windows-1252" for UTF-8 with stray bytes, or the
// charset of the byte-order mark or the label as Qt names it).
struct DecodedPage
{
    QString text;
    QString charset;
};

// Decodes a downloaded page. A byte-order mark (UTF-8, UTF-16 or UTF-32)
// wins over any label. Otherwise the page is what it says: a charset in the
// HTTP Content-Type header, or else a <meta charset> / <meta
// http-equiv="Content-Type"> in the first 1024 bytes. Unlabelled, it is UTF-8
// when its bytes are well-formed UTF-8 beyond ASCII, else Windows-1252. UTF-8
// is read sequence by sequence, each stray byte that is part of no sequence
// as Windows-1252, so a Windows-1252 page under a UTF-8 label keeps its
// umlauts and a stray byte in a UTF-8 page costs one character only. A
// declared ISO-8859-1 (or ASCII) is read as Windows-1252, as browsers do;
// an unknown charset, and one the bytes do not fit, falls back to
// Windows-1252.
DecodedPage decodePage(QByteArrayView body, QByteArrayView contentType = {});

} // namespace kostwerk::platform
