// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace kostwerk::ui {

// Gives screen readers roles Qt would not. The program's dialogs are plain
// widgets, so that Enter and Escape do nothing in them, and Qt would offer
// them with no role of their own, so that their text is not read when they
// open; they are offered as dialogs. The status line is offered as a
// notification, which screen readers speak when it shows, wherever the
// focus is. Call once, after the application object is made and before the
// first window is.
void describeForScreenReaders();

} // namespace kostwerk::ui
