// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace kostwerk::ui {

// Lets screen readers meet the program's dialogs as dialogs. They are plain
// widgets, so that Enter and Escape do nothing in them, and Qt would offer
// them with no role of their own, so that their text is not read when they
// open. Call once, before the first dialog opens.
void describeDialogsAsDialogs();

} // namespace kostwerk::ui
