// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/filefailure.h"

#include <QString>

// A reader and writer of Windows profile files (INI files), standing in for
// GetPrivateProfileStringA and WritePrivateProfileStringA so that a file
// written by either side reads the same on the other.
//
// Section and key names match without regard to case; blanks around them
// and around values are ignored; a value in matching double or single quotes
// loses them; the first of duplicate keys wins; lines starting with ";" are
// comments. A section header's name runs to the last "]" of its line. The
// file is Windows-1252 text, or UTF-8 or UTF-16 (LE or BE) when it starts
// with that byte order mark, and is written in the encoding it has; CR LF,
// LF and CR all end a line.
namespace kostwerk::platform::ProfileFile {

// A larger file, far beyond any settings file, is taken as unreadable.
inline constexpr qint64 maxFileSize = 16 * 1024 * 1024;

// The whole value, or empty text when the file, section or key is missing.
QString readString(const QString &file, const QString &section, const QString &key);

// Why file cannot be read: a file that is there but unreadable (no right,
// a FIFO, beyond maxFileSize, ...). None for a readable or a missing file,
// which reads as empty.
FileFailure readFailure(const QString &file);

// The first character of text that file's encoding cannot hold (a lone
// surrogate, or in Windows-1252 one beyond the code page), or empty text. A
// missing file is Windows-1252, as the first write makes it.
QString unwritableCharacter(const QString &file, const QString &text);

// Changes only the key's own line (or adds one, or the section); every other
// byte of the file stays as it is. The file is replaced atomically; when it
// could not be read or written, or when a name or the value holds a line
// break or a character the file's encoding cannot hold, it is unchanged. The file is read through a link, but never
// written through one: a link at its name would let the program's section land in whatever file the link names.
WriteResult writeString(const QString &file, const QString &section, const QString &key, const QString &value);

} // namespace kostwerk::platform::ProfileFile
