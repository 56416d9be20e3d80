// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLoggingCategory>

namespace kostwerk::platform {

// The log of everything in platform/, "kostwerk.platform". Failures the user is
// not shown are logged here with their cause.
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)

} // namespace kostwerk::platform
