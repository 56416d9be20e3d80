// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/logging.h"

namespace kostwerk::platform {

// Debug messages only when asked for, with QT_LOGGING_RULES.
Q_LOGGING_CATEGORY(lcPlatform, "kostwerk.platform", QtInfoMsg)

} // namespace kostwerk::platform
