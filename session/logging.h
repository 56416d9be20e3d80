// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLoggingCategory>

namespace kostwerk::session {

// The log of the week session, "kostwerk.session". Failures the user is
// not shown are logged here with their cause.
Q_DECLARE_LOGGING_CATEGORY(lcSession)

} // namespace kostwerk::session
