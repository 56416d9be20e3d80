// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLoggingCategory>

namespace kostwerk::ui {

// The log of everything in ui/, "kostwerk.ui". Failures the user is
// not shown are logged here with their cause.
Q_DECLARE_LOGGING_CATEGORY(lcUi)

} // namespace kostwerk::ui
