// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ansicodepage.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace Fuzz {

// A property that does not hold stops the run, so that libFuzzer keeps the
// input and reports it like a crash.
inline void require(bool holds, const char *property)
{
    if (holds)
        return;
    std::fprintf(stderr, "Property failed: %s\n", property);
    std::abort();
}

inline QByteArrayView bytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

// The two ways a page reaches the program: as Windows-1252 bytes, or as
// UTF-8 when the page says so.
inline QString windows1252(QByteArrayView bytes)
{
    return kostwerk::platform::AnsiCodePage::decode(bytes);
}

inline QString utf8(QByteArrayView bytes)
{
    return QString::fromUtf8(bytes);
}

// Checks the input both ways a page reaches the program.
template<typename Check>
int checkBothEncodings(const std::uint8_t *data, std::size_t size, Check check)
{
    const QByteArrayView input = bytes(data, size);
    check(windows1252(input));
    check(utf8(input));
    return 0;
}

// No "<" with a ">" somewhere after it: nothing left that looks like a tag.
inline bool holdsNoTag(const QString &text)
{
    const qsizetype open = text.indexOf(u'<');
    return open < 0 || text.indexOf(u'>', open + 1) < 0;
}

} // namespace Fuzz
