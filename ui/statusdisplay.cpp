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

void StatusDisplay::showMessage(const texts::StatusMessage &message)
{
    setText(message.text);
    setToolTip(message.cause);
    if (m_announcer)
        m_announcer->setAccessibleDescription(message.text);
}

} // namespace kostwerk::ui
