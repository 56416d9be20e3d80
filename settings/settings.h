// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/filefailure.h"
#include "platform/pathbelow.h"

#include <QObject>
#include <QString>

namespace kostwerk::settings {

// The program's settings and the paths derived from its folder.
struct Settings
{
    QString appPath;        // the program's folder, always ending in a separator
    QString iniPath;        // appPath + "refekt.ini"
    QString startURL;       // the page that links to the current week
    QString basisURL;       // the week link found in the start page is appended to it
    QString cacheFile;      // name of the cache file, always taken relative to appPath
    bool autoFetch = false; // fetch at start when the cached week is outdated or there is none

    // Where the cache is found, read and written: below appPath, never
    // through a link.
    platform::PathBelow cacheLocation() const { return {appPath, cacheFile}; }
};

// Why a cacheFile value may not name the cache beside the settings. A name
// that would lead out of the settings folder is refused for what the file
// system found: a ".." step or a symbolic link, which could lead anywhere.
struct CacheFileProblem
{
    Q_GADGET

public:
    enum class Kind {
        None,
        AbsolutePath, // the cache always lies inside the settings folder
        SettingsFile, // the cache would overwrite the settings
        ProgramFile,  // the cache would overwrite the program
        OutOfFolder,  // see failure: ParentStep or Link
    };
    Q_ENUM(Kind)

    Kind kind = Kind::None;
    platform::FileFailure failure;

    bool refused() const { return kind != Kind::None; }
    bool operator==(const CacheFileProblem &) const = default;
};

namespace SettingsStore {

inline constexpr char section[] = "Settings";

// The longest value read back, as through the 255-character buffer of the
// Windows profile function.
inline constexpr qsizetype maxValueLength = 254;

QString defaultStartURL();
QString defaultBasisURL();
QString defaultCacheFile();

// Whether startURL is still the built-in default and that names a
// placeholder host (a ".example" name, which resolves nowhere): there is no
// canteen to ask until the user sets one. A build for a real host has none.
bool hasPlaceholderStart(const Settings &settings);
// The same for basisURL, against which the start page's link to the week is
// read. A start page that links the week in full needs none.
bool hasPlaceholderBasis(const Settings &settings);

// A value of the settings file, cut to maxValueLength. A missing file,
// section or key gives empty text.
QString readIni(const QString &file, const QString &section, const QString &key);

// The folder with exactly one trailing separator.
QString appPathFor(const QString &folder);

// Where settings and cache live: the program's own folder when it already
// holds a settings file, or when it can be written and is not a folder
// programs are installed to (a portable install); otherwise, as for an
// install under /usr or any other prefix, the user's configuration folder for
// the program, so that not even root writes its settings beside the installed
// program. Creates nothing.
QString dataFolder(const QString &programFolder);

// Whether cacheFile can name the cache beside these settings: it stays
// inside the settings folder and is neither the settings file nor the
// program at programFile, whatever the case of its letters and through any
// link to them; nor is it, or does it pass through, a symbolic link below
// the settings folder, dangling or not. Reads the file system but changes
// nothing.
CacheFileProblem cacheFileProblem(const Settings &settings, const QString &cacheFile, const QString &programFile);

// The first character of value that the settings file of settings cannot
// hold in its encoding (see ProfileFile), or empty text.
QString unwritableCharacter(const Settings &settings, const QString &value);

// The settings file in the data folder of programFolder.
QString iniPathFor(const QString &programFolder);

// Reads the settings from the settings file iniPath; each of the three texts
// that is missing or empty gets its default. autoFetch is on only when stored
// as "1". Writes nothing.
Settings read(const QString &iniPath);

// The settings as start-up found them, and whether the defaults given to
// missing values could be written back (the first failure's cause if not).
struct Loaded
{
    Settings settings;
    platform::WriteResult defaultsWritten;
    // No folder goes by the program folder's name, which happens when the
    // name is not valid in the file names' encoding: the settings are then
    // the user's, as for an installed program.
    bool programFolderNotFound = false;
};

// Reads the settings from iniPathFor(programFolder), creating the data folder
// when missing; each default given to the three texts is written back to the
// file. A missing autoFetch stays missing.
Loaded load(const QString &programFolder);

// Writes the values as they are, in the order basisURL, startURL, cacheFile,
// autoFetch ("1" or "0"); all are attempted even when one fails. The result
// names the first failure.
platform::WriteResult save(const Settings &settings);

} // namespace SettingsStore

} // namespace kostwerk::settings
