// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

// The pages, the cache file and the settings file are 8-bit text in the
// Windows ANSI code page of German systems, Windows-1252.
namespace kostwerk::platform::AnsiCodePage {

// Every byte is one character: the text has as many characters as bytes
// has bytes.
QString decode(QByteArrayView bytes);

// The character of one byte, as decode() reads it.
QChar characterOf(char byte);

// Characters the code page cannot hold come out as '?'.
QByteArray encode(const QString &text);

// The bytes of text when every character of it survives encode() and
// decode(), or nothing.
std::optional<QByteArray> encodeExactly(QStringView text);

// True when every character of text survives encode().
bool canEncode(const QString &text);

// A file that starts with this mark is UTF-8 instead.
inline const QByteArray utf8ByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

} // namespace kostwerk::platform::AnsiCodePage
