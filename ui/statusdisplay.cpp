// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/statusdisplay.h"

namespace kostwerk::ui {

StatusDisplay::StatusDisplay(QWidget *parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("status"));
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
}

StatusDisplay::~StatusDisplay() = default;

void StatusDisplay::setAnnouncer(QWidget *announcer)
{
    m_announcer = announcer;
}

void StatusDisplay::showMessage(const StatusMessage &message)
{
    m_message = message;
    showText();
}

void StatusDisplay::showChangedCategories(const QList<int> &categories)
{
    m_changedCategories = categories;
    showText();
}

void StatusDisplay::showText()
{
    const StatusMessage shown = withChangedCategories(m_message, m_changedCategories);
    setText(shown.text);
    setToolTip(shown.cause);
    if (m_announcer)
        m_announcer->setAccessibleDescription(shown.text);
}

} // namespace kostwerk::ui
