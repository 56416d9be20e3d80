// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/programicon.h"

namespace kostwerk::ui {

QIcon programIcon()
{
    return QIcon(QStringLiteral(":/kostwerk/kostwerk.xpm"));
}

} // namespace kostwerk::ui
