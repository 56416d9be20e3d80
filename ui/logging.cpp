// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/logging.h"

namespace kostwerk::ui {

// Debug messages only when asked for, with QT_LOGGING_RULES.
Q_LOGGING_CATEGORY(lcUi, "kostwerk.ui", QtInfoMsg)

} // namespace kostwerk::ui
