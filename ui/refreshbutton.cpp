// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/refreshbutton.h"

#include "texts/captions.h"

namespace kostwerk::ui {

namespace Captions = texts::Captions;

RefreshButton::RefreshButton(QWidget *parent)
    : QPushButton(Captions::refreshFirst.toString(), parent)
{
}

RefreshButton::~RefreshButton() = default;

void RefreshButton::showFetching()
{
    // Disabling the focused button hands the focus on to "Montag", where the
    // next Space would choose the day.
    m_hadFocus = hasFocus();
    setText(Captions::refreshWaiting.toString());
    setEnabled(false);
}

void RefreshButton::showFetched()
{
    setText(Captions::refreshAgain.toString());
    setEnabled(true);
    if (m_hadFocus)
        setFocus();
}

} // namespace kostwerk::ui
