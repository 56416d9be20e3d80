#pragma once

#include <QString>

// The small helpers shared by all windows: settings-file access with the
// limits of the Windows profile functions, and the file-existence test.

// A value longer than 254 characters comes back cut to 254, as through the
// 255-character buffer of the profile function. Missing file, section or key
// give empty text.
QString readIni(const QString &file, const QString &section, const QString &key);

// True on success. The file is replaced atomically; on failure it is unchanged.
bool writeIni(const QString &file, const QString &section, const QString &key,
              const QString &value);

// True for an existing file, hidden or read-only; false for folders, missing
// files and empty or bad paths. Never fails.
bool fileExists(const QString &path);
