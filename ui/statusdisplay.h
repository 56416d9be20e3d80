// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "texts/statusmessages.h"

#include <QLabel>
#include <QPointer>

namespace kostwerk::ui {

// The status line at the window's foot: a message, followed by what the last
// fetch changed on the day shown, with its cause in the system's own words
// as the tooltip, both shown as plain text. A message too long for one line wraps
// onto a second, and the window grows by it, so that nothing is cut off.
class StatusDisplay final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatusDisplay)

public:
    explicit StatusDisplay(QWidget *parent = nullptr);
    ~StatusDisplay() override;

    // Each message is also given to announcer as its description, which
    // screen readers read when announcer takes the focus.
    void setAnnouncer(QWidget *announcer);

    void showMessage(const texts::StatusMessage &message);
    const texts::StatusMessage &message() const { return m_message; }

    // Has screen readers speak the line now, wherever the focus is: offered
    // as a notification (describeForScreenReaders), it is spoken when shown.
    void announce();

    // The categories of the day shown that the last fetch changed, as
    // indexes into core::DayViewText::categoryHeadings.
    void showChangedCategories(const QList<int> &categories);

private:
    void showText();

    QPointer<QWidget> m_announcer;
    texts::StatusMessage m_message;
    QList<int> m_changedCategories;
};

} // namespace kostwerk::ui
