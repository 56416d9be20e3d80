// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>
#include <QStringView>

namespace kostwerk::core {

// How much of a text a display shows at most. Laying text out costs time and
// memory with its length, and more than linearly for a run without a place
// to break it, so that a hostile page or cache would freeze the window. The
// displays choose bounds far above any real week, whose days hold about two
// thousand characters, in lines of about a hundred.
struct TextBounds
{
    qsizetype lines;
    qsizetype characters; // in all the lines shown, without their separators
};

// What the window and the printouts show at most: of a category (a box of
// the window, a cell of the week overview, whose title counts as one), of a
// heading, and of a section as "Wochenplan drucken" prints it. A real
// category holds a few hundred characters, a heading some twenty.
inline constexpr TextBounds categoryBounds{200, 10'000};
inline constexpr TextBounds headingBounds{1, 1'000};
inline constexpr TextBounds sectionBounds{2'000, 100'000};

// Marks where a display cuts a text.
inline constexpr QChar ellipsis = u'…';

// The words a display shows for the lines it leaves out, given how many.
using LeftOutNote = QString (*)(qsizetype lines);

// The lines of text, split at separator as QString::split splits it, that a
// display shows within bounds. The line in which the characters run out keeps
// its start and ends in "…"; when lines are left out after the last one
// shown, a last line tells how many in the words of note, unless only the
// empty line after a final separator is left out.
QStringList shownLines(QStringView text, QStringView separator, TextBounds bounds, LeftOutNote note);

} // namespace kostwerk::core
