#pragma once

#include "platform/writeresult.h"

#include <QString>

// A reader and writer of Windows profile files (INI files), standing in for
// GetPrivateProfileStringA and WritePrivateProfileStringA so that a file
// written by either side reads the same on the other.
//
// Section and key names match without regard to case; blanks around them
// and around values are ignored; a value in matching double or single quotes
// loses them; the first of duplicate keys wins; lines starting with ";" are
// comments. The file is Windows-1252 text; CR LF, LF and CR all end a line.
namespace kostwerk::platform::ProfileFile {

// The whole value, or empty text when the file, section or key is missing.
QString readString(const QString &file, const QString &section, const QString &key);

// Changes only the key's own line (or adds one, or the section); every other
// byte of the file stays as it is. The file is replaced atomically; when it
// could not be read or written it is unchanged.
WriteResult writeString(const QString &file, const QString &section, const QString &key,
                        const QString &value);

} // namespace kostwerk::platform::ProfileFile
