// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/logging.h"

namespace kostwerk::settings {

// Debug messages only when asked for, with QT_LOGGING_RULES.
Q_LOGGING_CATEGORY(lcSettings, "kostwerk.settings", QtInfoMsg)

} // namespace kostwerk::settings
