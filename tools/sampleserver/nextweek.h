// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace kostwerk::tools {

// Copies the canteen site in root into target as the canteen would show it
// a week later: every date in its pages seven days on, and every week page
// named, and linked to, for the following week. Returns the file that could
// not be read or written, or nothing when all were copied.
QString copySiteAWeekOn(const QString &root, const QString &target);

} // namespace kostwerk::tools
