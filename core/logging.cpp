// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/logging.h"

namespace kostwerk::core {

// Debug messages only when asked for, with QT_LOGGING_RULES.
Q_LOGGING_CATEGORY(lcCore, "kostwerk.core", QtInfoMsg)

} // namespace kostwerk::core
