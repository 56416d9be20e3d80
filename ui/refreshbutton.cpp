// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/refreshbutton.h"

namespace kostwerk::ui {

RefreshButton::RefreshButton(QWidget *parent)
    : QPushButton(QStringLiteral("Daten aktualisieren"), parent)
{
}

RefreshButton::~RefreshButton() = default;

void RefreshButton::showFetching()
{
    // Disabling the focused button hands the focus on to "Montag", where the
    // next Space would choose the day.
    m_hadFocus = hasFocus();
    setText(QStringLiteral("Bitte warten..."));
    setEnabled(false);
}

void RefreshButton::showFetched()
{
    setText(QStringLiteral("Daten holen"));
    setEnabled(true);
    if (m_hadFocus)
        setFocus();
}

} // namespace kostwerk::ui
