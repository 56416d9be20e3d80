// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/dayview.h"
#include "core/weekchanges.h"
#include "core/weekplan.h"

#include <QWidget>

#include <array>
#include <optional>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace kostwerk::ui {

// The window's client area with the week: the heading, the weekday choice and
// the five meal categories. It shows a day of the week, tells which weekday
// is chosen, and marks today's weekday and what changed. The main window puts its bottom
// row of buttons and the date on the same area, so that every control lies
// directly on it, as screen readers and the layout expect.
class WeekPanel final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WeekPanel)

public:
    explicit WeekPanel(QWidget *parent = nullptr);
    ~WeekPanel() override;

    // The index of the checked weekday button, 0 = Montag ... 5 = Samstag;
    // the last one checked, or 0 when none is.
    int selectedWeekday() const;

    // Checks the button of index, or none.
    void selectWeekday(std::optional<int> index);

    // Shows section n of the week (n = weekday index + 1), or "Keine Daten
    // vorhanden" and empty categories when the week has no such section. A
    // heading or category beyond its bounds (core/shownlines.h) shows cut,
    // with "…".
    void showDay(const core::WeekPlan &weekPlan, qsizetype n);

    // Underlines the caption of the button of index, which stays where it is,
    // and describes it as "heute"; none on a Sunday.
    void markToday(std::optional<int> index);

    // Marks what changed since the fetch before, in place of the marks of
    // that fetch: bold captions and the description "geändert" on the days
    // that changed, and on the day shown a frame and the description
    // "geändert seit dem letzten Abruf" on the categories that changed.
    void markChanges(const core::WeekChanges &changes);

    // The categories of the day shown that changed, as indexes into
    // core::DayViewText::categoryHeadings.
    QList<int> changedCategoriesShown() const;

    // The panel's controls in the order the Tab key visits them; of the
    // weekday buttons it visits the chosen one only.
    QList<QWidget *> tabOrder() const;

signals:
    // The user chose the weekday of index.
    void weekdayChosen(int index);

private:
    // The weekday group is a single stop of the Tab key, on the chosen day,
    // so that the arrow keys go on from there choosing the day they reach.
    void moveTabStopToChosenDay();
    void markWeekdays();
    void markCategories();

    QLineEdit *m_headingEdit = nullptr;
    QGroupBox *m_weekdayBox = nullptr;
    QButtonGroup *m_weekdayGroup = nullptr;
    std::array<QRadioButton *, 6> m_weekdayButtons{};
    std::array<QPlainTextEdit *, core::categoryCount> m_categoryBoxes{}; // by core::Category

    std::optional<int> m_today;
    core::WeekChanges m_changes;
    qsizetype m_dayShown = -1; // weekday index
};

} // namespace kostwerk::ui
