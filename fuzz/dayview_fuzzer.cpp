// The day view of any section, read as Windows-1252 and as UTF-8.

#include "core/dayview.h"
#include "fuzz/fuzzcheck.h"

#include <array>

using namespace kostwerk::core;

using Fuzz::require;

namespace {

// The section as the day view reads it: every location name removed.
QString withoutLocations(QString section)
{
    for (QStringView name : DayViewText::locationNames)
        section.remove(name.toString());
    return section;
}

void checkCategory(const QString &category, const QString &text, qsizetype index)
{
    if (category.isEmpty())
        return;
    const QStringView heading = DayViewText::categoryHeadings[index];
    const QStringView next = DayViewText::categoryHeadings[index + 1];
    // Not "starts with its heading": the next heading may begin inside this
    // one ("EintopFrische Salate"), which cuts the heading short.
    const qsizetype begin = text.indexOf(heading, 0, Qt::CaseInsensitive);
    require(begin >= 0 && QStringView(text).sliced(begin).startsWith(category),
            "a category is the text of the section without locations from its heading on");
    require(!category.contains(next, Qt::CaseInsensitive), "a category ends before the next heading");
}

void check(const QString &section)
{
    const WeekPlan weekPlan{QStringLiteral("Speiseplan"), section};
    const DayView view = *dayViewOf(weekPlan, 1);
    const QString text = withoutLocations(section);

    require(!view.heading.contains(lineBreak), "the heading holds no CR LF");
    require(text.startsWith(view.heading) || text.startsWith(lineBreak + view.heading),
            "the heading is the first line of the section");

    const std::array<const QString *, 5> categories = {&view.menu1, &view.wahlessen, &view.eintopf,
                                                       &view.vegetarisch, &view.abendessen};
    for (qsizetype i = 0; i < qsizetype(categories.size()); ++i)
        checkCategory(*categories[i], text, i);

    // The cache gives every section a CR LF in front; the view must not
    // change, unless the section already began with one.
    if (!text.startsWith(lineBreak)) {
        const WeekPlan cached{weekPlan.at(0), lineBreak + section};
        require(dayViewOf(cached, 1) == view, "a section read back from the cache shows alike");
    }

    require(!dayViewOf(weekPlan, 2) && !dayViewOf(weekPlan, -1), "a day beyond the week has no view");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::checkBothEncodings(data, size, check);
}
