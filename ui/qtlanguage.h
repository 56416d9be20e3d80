// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QCoreApplication;

namespace kostwerk::ui {

// Makes what Qt draws itself German like the window, whatever the system's
// locale: the print dialog and print preview, the file chooser behind "print
// to file", a text field's context menu, and the numbers, dates and units in
// them. Without Qt's German translation (Debian package
// qt6-translations-l10n) its texts stay English.
void useGermanForQt(QCoreApplication &app);

} // namespace kostwerk::ui
