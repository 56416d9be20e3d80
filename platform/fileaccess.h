// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/filefailure.h"
#include "platform/pathbelow.h"

#include <QString>

namespace kostwerk::platform {

// True for an existing file, hidden or read-only; false for folders, missing
// files and empty or bad paths. Never fails.
bool fileExists(const QString &path);

// Reads only a regular file of at most maxSize bytes, also behind a link.
// Anything else is unreadable at once: a FIFO would wait for a writer, a
// device such as /dev/zero never ends, and a socket holds no text. A folder
// at the name is no file: Missing, as for fileExists.
FileRead readFile(const QString &path, qint64 maxSize);

// The same for a file below a folder, which is read only when neither its
// name nor a folder step below the folder is a symbolic link.
FileRead readFile(const PathBelow &file, qint64 maxSize);

// The same for the file of a folder opened already, whose name is not
// looked up again.
FileRead readFile(const Below::Folder &folder, qint64 maxSize);

} // namespace kostwerk::platform
