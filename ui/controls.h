// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLatin1StringView>
#include <QRect>
#include <QStringView>
#include <QWidget>

namespace kostwerk::ui {

// What every window needs to put its controls where its layout table says.
namespace Controls {

// A row of a window's layout table: the control's name for tests and
// accessibility tools, its initial caption or text, and its place.
struct Control
{
    const char *name;
    QStringView caption;
    QRect geometry;
};

// Puts widget on parent at the control's place, under the control's name.
template<typename Widget>
Widget *place(QWidget *parent, Widget *widget, const Control &control)
{
    widget->setParent(parent);
    widget->setObjectName(QLatin1StringView(control.name));
    widget->setGeometry(control.geometry);
    return widget;
}

} // namespace Controls

} // namespace kostwerk::ui
