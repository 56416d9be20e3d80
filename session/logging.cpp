// SPDX-License-Identifier: GPL-3.0-or-later

#include "session/logging.h"

namespace kostwerk::session {

// Debug messages only when asked for, with QT_LOGGING_RULES.
Q_LOGGING_CATEGORY(lcSession, "kostwerk.session", QtInfoMsg)

} // namespace kostwerk::session
