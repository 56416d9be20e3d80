// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/weekpanel.h"

#include "core/dayview.h"
#include "core/shownlines.h"
#include "core/weekdays.h"
#include "texts/germandates.h"
#include "texts/statusline.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/mainwindowlayout.h"

#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace kostwerk::ui {

namespace {

namespace Layout = MainWindowLayout;
using Controls::place;
using core::DayViewText::categoryHeadings;

QPlainTextEdit *categoryBox(QWidget *parent, std::size_t category)
{
    auto *box = place(parent, new QPlainTextEdit, Layout::categoryBoxes[category]);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTabChangesFocus(true);
    box->setAccessibleName(categoryHeadings[category].toString());
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
    return core::shownLines(text, core::lineBreak, core::categoryBounds, texts::StatusLine::leftOutLines).join(u'\n');
}

} // namespace

WeekPanel::WeekPanel(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(Layout::clientSize);
    m_headingEdit = place(this, new QLineEdit(Layout::heading.caption.toString()), Layout::heading);
    m_headingEdit->setAlignment(Qt::AlignCenter);
    m_headingEdit->setFont(Fonts::systemFont(18));
    m_headingEdit->setAccessibleName(QStringLiteral("Überschrift"));

    m_weekdayBox = place(this, new QGroupBox(Layout::weekdayBox.caption.toString()), Layout::weekdayBox);

    // The weekday buttons lie in the box, so that screen readers read them
    // as its group.
    m_weekdayGroup = new QButtonGroup(this);
    m_weekdayGroup->setObjectName(QLatin1StringView(Layout::weekdayButtons));
    for (int index = 0; index < core::Weekdays::count; ++index) {
        auto *button = place(m_weekdayBox, new QRadioButton(texts::GermanDates::weekdayNameAt(index)),
                             {Layout::weekdayButtons, {}, Layout::weekdayButton(index)});
        // Alt+1 ... Alt+6 choose a day from anywhere in the window and put
        // the focus on it, chosen already, so that screen readers read it
        // as chosen; a button's own shortcut would click it after the focus.
        auto *shortcut = new QAction(this);
        shortcut->setShortcut(QKeyCombination(Qt::ALT, Qt::Key(Qt::Key_1 + index)));
        connect(shortcut, &QAction::triggered, button, [button] {
            button->click();
            button->setFocus(Qt::ShortcutFocusReason);
        });
        addAction(shortcut);
        m_weekdayGroup->addButton(button, index);
        m_weekdayButtons[index] = button;
    }
    connect(m_weekdayGroup, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        moveTabStopToChosenDay();
        if (checked)
            emit weekdayChosen(index);
    });
    moveTabStopToChosenDay();

    for (std::size_t category = 0; category < core::categoryCount; ++category)
        m_categoryBoxes[category] = categoryBox(this, category);
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
    m_weekdayGroup->setExclusive(false);
    for (QRadioButton *button : m_weekdayButtons)
        button->setChecked(false);
    m_weekdayGroup->setExclusive(true);
    if (index)
        m_weekdayButtons.at(*index)->setChecked(true);
}

void WeekPanel::showDay(const core::WeekPlan &weekPlan, qsizetype n)
{
    const std::optional<core::DayView> day = core::dayViewOf(weekPlan, n);
    core::DayView view = day.value_or(core::DayView{});
    // A day the week lacks shows as before any week came.
    if (!day)
        view.heading = Layout::heading.caption.toString();
    m_headingEdit->setText(
        core::shownLines(view.heading, core::lineBreak, core::headingBounds, texts::StatusLine::leftOutLines)
            .constFirst());
    // A heading too long for the field shows from its start, the day's name.
    m_headingEdit->setCursorPosition(0);
    for (std::size_t category = 0; category < core::categoryCount; ++category)
        m_categoryBoxes[category]->setPlainText(forDisplay(view.categories[category]));
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

void WeekPanel::moveTabStopToChosenDay()
{
    // Qt moves the group's stop only to a button that takes the focus; a day
    // chosen otherwise, as today's at start, would leave it behind.
    const int chosen = selectedWeekday();
    for (int index = 0; index < core::Weekdays::count; ++index)
        m_weekdayButtons[index]->setFocusPolicy(index == chosen ? Qt::StrongFocus : Qt::ClickFocus);
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
    for (int c = 0; c < int(m_categoryBoxes.size()); ++c) {
        markChanged(m_categoryBoxes[c], changed.contains(c));
        m_categoryBoxes[c]->setAccessibleDescription(
            changed.contains(c) ? QStringLiteral("geändert seit dem letzten Abruf") : QString());
    }
}

QList<QWidget *> WeekPanel::tabOrder() const
{
    QList<QWidget *> order(m_weekdayButtons.begin(), m_weekdayButtons.end());
    using core::Category;
    for (Category category :
         {Category::MenuOne, Category::ChoiceMeal, Category::Stew, Category::Dinner, Category::Vegetarian})
        order.append(m_categoryBoxes.at(std::size_t(category)));
    order.append(m_headingEdit);
    return order;
}

} // namespace kostwerk::ui
