// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/weekpanel.h"

#include "core/dayview.h"
#include "core/shownlines.h"
#include "core/weekdays.h"
#include "texts/germandates.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/twips.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace kostwerk::ui {

namespace {

// The heading until a day of the week is shown, and for a day the week lacks.
constexpr QStringView noData = u"Keine Daten vorhanden";

constexpr QSize clientSize(Twips::toPixels(6645), Twips::toPixels(5970));

using Controls::place;
using core::DayViewText::categoryHeadings;

struct Place
{
    const char *name;
    QRect geometry;
};

// The category boxes, by core::Category.
constexpr std::array<Place, core::categoryCount> categoryPlaces = {{
    {"menu1", Twips::rect(2280, 960, 2055, 2055)},
    {"wahlessen", Twips::rect(4440, 960, 2055, 2055)},
    {"eintopf", Twips::rect(240, 3120, 1935, 2055)},
    {"vegetarisch", Twips::rect(2280, 3120, 2055, 2055)},
    {"abendessen", Twips::rect(4440, 3120, 2055, 2055)},
}};

QPlainTextEdit *categoryBox(QWidget *parent, const char *name, QStringView heading, const QRect &geometry)
{
    auto *box = place(parent, new QPlainTextEdit, name, geometry);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTabChangesFocus(true);
    box->setAccessibleName(heading.toString());
    return box;
}

// The text boxes show plain lines; the week's CR LF pairs become line feeds.
QString forDisplay(const QString &text)
{
    return core::shownLines(text, core::lineBreak, core::categoryBounds).join(u'\n');
}

} // namespace

WeekPanel::WeekPanel(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(clientSize);
    m_ueberschrift = place(this, new QLineEdit(noData.toString()), "Ueberschrift", Twips::rect(120, 120, 6375, 615));
    m_ueberschrift->setAlignment(Qt::AlignCenter);
    m_ueberschrift->setFont(Fonts::systemFont(18));
    m_ueberschrift->setAccessibleName(QStringLiteral("Überschrift"));

    m_frame1 = place(this, new QGroupBox(QStringLiteral("Wochentagsauswahl")), "Frame1",
                     Twips::rect(120, 960, 1935, 1815));

    // The weekday buttons lie in the frame, so that screen readers read them
    // as its group; their places are the frame's, 120 twips from its left
    // edge and 240 below its top.
    m_wtAuswahl = new QButtonGroup(this);
    m_wtAuswahl->setObjectName(QStringLiteral("WTauswahl"));
    for (int index = 0; index < core::Weekdays::count; ++index) {
        auto *button = place(m_frame1, new QRadioButton(texts::GermanDates::weekdayNameAt(index)), "WTauswahl",
                             Twips::rect(120, 240 + 240 * index, 1600, 255));
        m_wtAuswahl->addButton(button, index);
        m_weekdayButtons[index] = button;
    }
    connect(m_wtAuswahl, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked)
            emit weekdayChosen(index);
    });

    for (std::size_t category = 0; category < core::categoryCount; ++category)
        m_categoryBoxes[category] = categoryBox(this, categoryPlaces[category].name, categoryHeadings[category],
                                                categoryPlaces[category].geometry);
}

WeekPanel::~WeekPanel() = default;

int WeekPanel::selectedWeekday() const
{
    int selected = 0;
    for (int index = 0; index < core::Weekdays::count; ++index) {
        if (m_weekdayButtons[index]->isChecked())
            selected = index;
    }
    return selected;
}

void WeekPanel::selectWeekday(std::optional<int> index)
{
    // An exclusive group keeps one button checked; clearing needs it lifted.
    m_wtAuswahl->setExclusive(false);
    for (QRadioButton *button : m_weekdayButtons)
        button->setChecked(false);
    m_wtAuswahl->setExclusive(true);
    if (index)
        m_weekdayButtons.at(*index)->setChecked(true);
}

void WeekPanel::showDay(const core::WeekPlan &weekPlan, qsizetype n)
{
    const std::optional<core::DayView> day = core::dayViewOf(weekPlan, n);
    core::DayView view = day.value_or(core::DayView{});
    if (!day)
        view.heading = noData.toString();
    m_ueberschrift->setText(core::shownLines(view.heading, core::lineBreak, core::headingBounds).constFirst());
    // A heading too long for the field shows from its start, the day's name.
    m_ueberschrift->setCursorPosition(0);
    for (std::size_t category = 0; category < core::categoryCount; ++category)
        m_categoryBoxes[category]->setPlainText(forDisplay(view.categories[category]));
}

void WeekPanel::markChangedDays(const QList<int> &days)
{
    for (int index = 0; index < core::Weekdays::count; ++index) {
        QRadioButton *button = m_weekdayButtons[index];
        const bool changed = days.contains(index);
        QFont font = button->font();
        font.setBold(changed);
        button->setFont(font);
        button->setAccessibleDescription(changed ? QStringLiteral("geändert") : QString());
    }
}

QList<QWidget *> WeekPanel::tabOrder() const
{
    QList<QWidget *> order(m_weekdayButtons.begin(), m_weekdayButtons.end());
    using core::Category;
    for (Category category :
         {Category::MenuOne, Category::ChoiceMeal, Category::Stew, Category::Dinner, Category::Vegetarian})
        order.append(m_categoryBoxes.at(std::size_t(category)));
    order.append(m_ueberschrift);
    return order;
}

} // namespace kostwerk::ui
