// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLoggingCategory>

namespace kostwerk::core {

// The log of everything in core/, "kostwerk.core". Failures the user is
// not shown are logged here with their cause.
Q_DECLARE_LOGGING_CATEGORY(lcCore)

} // namespace kostwerk::core
