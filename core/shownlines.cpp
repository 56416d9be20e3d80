// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/shownlines.h"

namespace kostwerk::core {

namespace {

// The first length characters of line, then "…"; a character beyond the
// basic plane stays whole.
QString cutLine(QStringView line, qsizetype length)
{
    if (line.at(length - 1).isHighSurrogate())
        --length;
    return line.first(length) + ellipsis;
}

} // namespace

QStringList shownLines(QStringView text, QStringView separator, TextBounds bounds, LeftOutNote note)
{
    QStringList lines;
    qsizetype characters = bounds.characters;
    // One pass over the text: of the lines left out it only counts the
    // separators.
    qsizetype start = 0; // of the next line; -1 once there is none
    while (lines.size() < bounds.lines) {
        const qsizetype found = text.indexOf(separator, start);
        const qsizetype end = found < 0 ? text.size() : found;
        const QStringView line = text.sliced(start, end - start);
        const qsizetype next = found < 0 ? -1 : end + separator.size();
        if (line.size() > characters) {
            if (characters > 0) {
                lines.append(cutLine(line, characters));
                start = next;
            }
            break;
        }
        lines.append(line.toString());
        characters -= line.size();
        start = next;
        if (start < 0)
            break;
    }
    // An empty last line, which a text ending in a separator has, is not
    // worth a note.
    if (start >= 0 && start < text.size())
        lines.append(note(text.sliced(start).count(separator) + 1));
    return lines;
}

} // namespace kostwerk::core
