// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/statusdisplay.h"

#include <QAccessible>

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
    m_message = message;
    showText();
}

void StatusDisplay::announce()
{
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

void StatusDisplay::showChangedCategories(const QList<int> &categories)
{
    m_changedCategories = categories;
    showText();
}

void StatusDisplay::showText()
{
    const texts::StatusMessage shown = texts::withChangedCategories(m_message, m_changedCategories);
    setText(shown.text);
    // Qt takes a tooltip that looks like markup for rich text; the cause
    // quotes a server's and a file's words, which are shown as they came,
    // on one line as a plain tooltip is.
    setToolTip(shown.cause.isEmpty() ? QString()
                                     : u"<p style=\"white-space:pre\">" + shown.cause.toHtmlEscaped() + u"</p>");
    // Screen readers would read that tooltip, markup and all, as the description.
    setAccessibleDescription(shown.cause);
    if (m_announcer)
        m_announcer->setAccessibleDescription(shown.text);
}

} // namespace kostwerk::ui
