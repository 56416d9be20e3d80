// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLoggingCategory>

namespace kostwerk::settings {

// The log of everything in settings/, "kostwerk.settings". Failures the user is
// not shown are logged here with their cause.
Q_DECLARE_LOGGING_CATEGORY(lcSettings)

} // namespace kostwerk::settings
