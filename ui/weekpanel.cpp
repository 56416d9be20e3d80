// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/weekpanel.h"

#include "core/dayview.h"
#include "core/shownlines.h"
#include "core/weekdays.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/germandates.h"
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

QPlainTextEdit *categoryBox(QWidget *parent, const char *name, QStringView heading, const QRect &geometry)
{
    auto *box = place(parent, new QPlainTextEdit, name, geometry);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTabChangesFocus(true);
    box->setAccessibleName(heading.toString());
    return box;
}

// Frames a changed category's box in the colour of a selection, around a
// ground tinted with it; an unchanged one looks as any text box.
void markChanged(QPlainTextEdit *box, bool changed)
{
    if (!changed) {
        box->setPalette(QPalette());
        box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        box->setLineWidth(1);
        return;
    }
    QPalette palette = box->parentWidget()->palette();
    const QColor mark = palette.color(QPalette::Highlight);
    const QColor ground = palette.color(QPalette::Base);
    palette.setColor(QPalette::WindowText, mark);
    palette.setColor(QPalette::Base, QColor::fromRgbF(0.9f * ground.redF() + 0.1f * mark.redF(),
                                                      0.9f * ground.greenF() + 0.1f * mark.greenF(),
                                                      0.9f * ground.blueF() + 0.1f * mark.blueF()));
    box->setPalette(palette);
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setLineWidth(2);
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
        auto *button = place(m_frame1, new QRadioButton(GermanDates::weekdayNameAt(index)), "WTauswahl",
                             Twips::rect(120, 240 + 240 * index, 1600, 255));
        m_wtAuswahl->addButton(button, index);
        m_weekdayButtons[index] = button;
    }
    connect(m_wtAuswahl, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked)
            emit weekdayChosen(index);
    });

    m_menu1 = categoryBox(this, "menu1", categoryHeadings[0], Twips::rect(2280, 960, 2055, 2055));
    m_wahlessen = categoryBox(this, "wahlessen", categoryHeadings[1], Twips::rect(4440, 960, 2055, 2055));
    m_eintopf = categoryBox(this, "eintopf", categoryHeadings[2], Twips::rect(240, 3120, 1935, 2055));
    m_vegetarisch = categoryBox(this, "vegetarisch", categoryHeadings[3], Twips::rect(2280, 3120, 2055, 2055));
    m_abendessen = categoryBox(this, "abendessen", categoryHeadings[4], Twips::rect(4440, 3120, 2055, 2055));
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
    m_menu1->setPlainText(forDisplay(view.menu1));
    m_wahlessen->setPlainText(forDisplay(view.wahlessen));
    m_eintopf->setPlainText(forDisplay(view.eintopf));
    m_vegetarisch->setPlainText(forDisplay(view.vegetarisch));
    m_abendessen->setPlainText(forDisplay(view.abendessen));
    m_dayShown = n - 1;
    markCategories();
}

void WeekPanel::markToday(std::optional<int> index)
{
    m_today = index;
    markWeekdays();
}

void WeekPanel::markChanges(const core::WeekChanges &changes)
{
    m_changes = changes;
    markWeekdays();
    markCategories();
}

QList<int> WeekPanel::changedCategoriesShown() const
{
    return m_changes.changedCategories.value(m_dayShown);
}

void WeekPanel::markWeekdays()
{
    for (int index = 0; index < core::Weekdays::count; ++index) {
        QRadioButton *button = m_weekdayButtons[index];
        const bool today = m_today == index;
        const bool changed = m_changes.changedDays.contains(index);
        QFont font = button->font();
        font.setUnderline(today);
        font.setBold(changed);
        button->setFont(font);
        QStringList description;
        if (today)
            description.append(QStringLiteral("heute"));
        if (changed)
            description.append(QStringLiteral("geändert"));
        button->setAccessibleDescription(description.join(u", "));
    }
}

void WeekPanel::markCategories()
{
    const QList<int> changed = changedCategoriesShown();
    const std::array<QPlainTextEdit *, 5> boxes = {m_menu1, m_wahlessen, m_eintopf, m_vegetarisch, m_abendessen};
    for (int c = 0; c < int(boxes.size()); ++c) {
        markChanged(boxes[c], changed.contains(c));
        boxes[c]->setAccessibleDescription(changed.contains(c) ? QStringLiteral("geändert seit dem letzten Abruf")
                                                               : QString());
    }
}

QList<QWidget *> WeekPanel::tabOrder() const
{
    QList<QWidget *> order(m_weekdayButtons.begin(), m_weekdayButtons.end());
    order.append({m_menu1, m_wahlessen, m_eintopf, m_abendessen, m_vegetarisch, m_ueberschrift});
    return order;
}

} // namespace kostwerk::ui
