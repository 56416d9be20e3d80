// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/filefailure.h"
#include "platform/pathbelow.h"

#include <QByteArrayView>

namespace kostwerk::platform {

// Replaces the file with bytes only once all of them are on disk; on any
// failure (a full disk included) the old file stays as it was. The new file
// is made beside the old one and renamed over it within the folder that
// holds it, so it is never written through a symbolic link: a link at the
// name or at a folder step below file.folder is refused, also one that
// appeared a moment ago. A file that is replaced keeps its permissions; a
// read-only one is not replaced.
// Temporary files that a write killed before its end left beside file are
// removed before the next write of it.
WriteResult writeFileAtomically(const PathBelow &file, QByteArrayView bytes);

// The same for the file of a folder opened already, whose name is not looked
// up again.
WriteResult writeFileAtomically(const Below::Folder &folder, QByteArrayView bytes);

// Removes those leftovers at once: regular files beside file named as the
// writes name them, at least a minute old, so that no write still running
// loses its file.
void removeLeftovers(const PathBelow &file);

} // namespace kostwerk::platform
