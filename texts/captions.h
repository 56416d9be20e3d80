// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>

// Captions that the status line and the printouts name, so that they are
// worded once.
namespace kostwerk::texts::Captions {

// The refresh button tells the fetch's state: before the first fetch of
// the run, while one runs, and after it.
inline constexpr QStringView refreshFirst = u"Daten aktualisieren";
inline constexpr QStringView refreshWaiting = u"Bitte warten...";
inline constexpr QStringView refreshAgain = u"Daten holen";

} // namespace kostwerk::texts::Captions
