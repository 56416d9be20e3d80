// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"

namespace kostwerk::core {

// Turns the canteen's pages into text. Every step is a single pass over the
// page, so even hostile pages of many megabytes take linear time.
namespace WeekPage {

// The most sections one page is cut into; the count was a 16-bit number.
inline constexpr qsizetype maxSections = 32767;

// The target of the week's link in the start page: the text from the "t"
// after the first HREF="t (any case) up to the quote before the first ">Vom"
// that follows it. Empty when either is missing.
QString findWeekLink(const QString &startPage);

// The fixed table of replacements, each applied to the whole page in this
// order: 1 CR LF removed; 2 two blanks removed; 3 to 16 the entities &nbsp;
// &quot; &auml; &Auml; &ouml; &Ouml; &uuml; &Uuml; &szlig; &amp; &lt; &gt;
// &copy; &reg; decoded ("&amp;lt;" thus becomes "<"); 17 LF removed.
QString cleanPage(QStringView page);

// Every "<h2>" (any case) opens a section that runs up to the next "<h2>";
// the last runs up to the first "<hr" after it. Empty when there is none.
QStringList cutSections(const QString &page);

// Removes every tag; an upper-case <BR> with nothing else inside becomes a
// CR LF. A "<" without ">" after it leaves the rest of the section as it is.
QString stripTags(QStringView section);

struct Result
{
    WeekPlan weekPlan;
    bool sectionsFound = false;
};

// The whole pipeline for a week page as downloaded: trim blanks (spaces only),
// clean, cut, strip. When the page has no section, the previous week is kept (and
// stripped again).
Result parse(const QString &weekPage, const WeekPlan &previous);

} // namespace WeekPage

} // namespace kostwerk::core
