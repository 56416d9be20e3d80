// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/statusdisplay.h"

#include <QTextDocument>

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
    setText(message.text);
    // Qt takes a tooltip that looks like markup for rich text; the cause
    // quotes a server's and a file's words, which are shown as they came.
    setToolTip(message.cause.isEmpty() ? QString() : Qt::convertFromPlainText(message.cause, Qt::WhiteSpaceNormal));
    if (m_announcer)
        m_announcer->setAccessibleDescription(message.text);
}

} // namespace kostwerk::ui
