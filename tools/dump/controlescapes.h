// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// A page, a URL or a server's text can hold control characters that a
// terminal acts on: ESC starts a command sequence, BEL rings. The dump
// shows each of them as an escape instead, and writes none it did not make.
namespace kostwerk::tools::ControlEscapes {

// Every character below U+0020 but the tab, and DEL, as "\x1b"; U+0080 to
// U+009F as "\u009b".
QString escaped(QStringView text);

// The same for each line of text; the CR LF between lines stays.
QString escapedLines(QStringView text);

// Compact JSON from Qt's writer, which escapes the characters below U+0020
// but leaves DEL and U+0080 to U+009F as they are; these become "\u007f"
// and the like, which JSON reads as the same character.
QByteArray escapedJson(const QByteArray &json);

} // namespace kostwerk::tools::ControlEscapes
