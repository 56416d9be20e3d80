// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>

namespace kostwerk::ui {

// The program's 32 x 32 picture in 16 colours, shared by all its windows.
QIcon programIcon();

} // namespace kostwerk::ui
