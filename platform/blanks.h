// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>

namespace kostwerk::platform {

// Text without the blanks at either end. Blanks are spaces unless given: a
// week page and a day's lines are trimmed of spaces only, so other white
// space stays as the page has it; a settings file's names and values are
// trimmed of spaces and tabs.
inline QStringView trimBlanks(QStringView text, QStringView blanks = u" ")
{
    while (!text.isEmpty() && blanks.contains(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && blanks.contains(text.back()))
        text.chop(1);
    return text;
}

} // namespace kostwerk::platform
