// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLatin1StringView>
#include <QRect>
#include <QWidget>

namespace kostwerk::ui {

// What every window needs to put its controls where its layout table says.
namespace Controls {

// Puts widget on parent at a fixed place, named for tests and accessibility
// tools to find.
template<typename Widget>
Widget *place(QWidget *parent, Widget *widget, const char *name, const QRect &geometry)
{
    widget->setParent(parent);
    widget->setObjectName(QLatin1StringView(name));
    widget->setGeometry(geometry);
    return widget;
}

} // namespace Controls

} // namespace kostwerk::ui
