// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace kostwerk::settings {

// Whether canonicalFolder, a canonical path, is a folder programs are
// installed to: /usr/bin, /usr/local/bin, or the program folder of an
// installation of Kostwerk under any prefix, known at run time by the
// copyright file the installation puts at its place relative to the programs.
bool isInstallFolder(const QString &canonicalFolder);

} // namespace kostwerk::settings
