// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/settings.h"

#include "generated/buildconfig.h"
#include "platform/profilefile.h"
#include "settings/installfolder.h"
#include "settings/logging.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>

namespace kostwerk::settings {

namespace {

const QString sectionName = QLatin1StringView(SettingsStore::section);
const QString startKey = QStringLiteral("startURL");
const QString basisKey = QStringLiteral("basisURL");
const QString cacheKey = QStringLiteral("cacheFile");
const QString autoFetchKey = QStringLiteral("autoFetch");
const QString iniFileName = QStringLiteral("refekt.ini");

QString menuSite()
{
    return u"http://" + QLatin1StringView(BuildConfig::menuHost) + u"/uni/refekt/";
}

// A ".example" name resolves nowhere: there is no canteen to ask.
bool hasPlaceholderHost()
{
    return QLatin1StringView(BuildConfig::menuHost).endsWith(u".example");
}

// A missing or empty value becomes the default, which is written back when
// asked to. A settings file that cannot be written keeps the default for this
// run; the first failure is kept in written.
void applyDefault(const QString &iniPath, const QString &key, QString &value, const QString &defaultValue,
                  platform::WriteResult *written)
{
    if (!value.isEmpty())
        return;
    value = defaultValue;
    if (!written)
        return;
    const platform::WriteResult result = platform::ProfileFile::writeString(iniPath, sectionName, key, value);
    if (!result) {
        qCWarning(lcSettings) << "cannot write the default of" << key << "to" << iniPath << ":" << result.failure;
        if (written->ok())
            *written = result;
    }
}

// Writes the defaults back when written is given, and keeps the first failure there.
Settings readSettings(const QString &iniPath, platform::WriteResult *written)
{
    Settings settings;
    settings.appPath = SettingsStore::appPathFor(QFileInfo(iniPath).path());
    settings.iniPath = iniPath;
    // All three are read before any default is written back.
    settings.startURL = SettingsStore::readIni(settings.iniPath, sectionName, startKey);
    settings.basisURL = SettingsStore::readIni(settings.iniPath, sectionName, basisKey);
    settings.cacheFile = SettingsStore::readIni(settings.iniPath, sectionName, cacheKey);
    settings.autoFetch = SettingsStore::readIni(settings.iniPath, sectionName, autoFetchKey) == u"1";
    applyDefault(settings.iniPath, startKey, settings.startURL, SettingsStore::defaultStartURL(), written);
    applyDefault(settings.iniPath, basisKey, settings.basisURL, SettingsStore::defaultBasisURL(), written);
    applyDefault(settings.iniPath, cacheKey, settings.cacheFile, SettingsStore::defaultCacheFile(), written);
    return settings;
}

// Qt takes a relative XDG_CONFIG_HOME as it is, in whatever folder the
// program was started from; the XDG rules ignore it.
QString userConfigFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir::isRelativePath(folder) ? QDir::homePath() + u"/.config" : folder;
}

// The same name in other case is the same file on a file system that
// ignores case; a link or a hard link is the same file on any.
bool isSameFile(const QString &a, const QString &b)
{
    if (QDir::cleanPath(a).compare(QDir::cleanPath(b), Qt::CaseInsensitive) == 0)
        return true;
    std::error_code missing;
    return std::filesystem::equivalent(QFileInfo(a).filesystemFilePath(), QFileInfo(b).filesystemFilePath(), missing);
}

} // namespace

namespace SettingsStore {

QString defaultStartURL()
{
    return menuSite() + u"00.html";
}
QString defaultBasisURL()
{
    return menuSite();
}
QString defaultCacheFile()
{
    return QStringLiteral("cache.rfk");
}

bool hasPlaceholderStart(const Settings &settings)
{
    return settings.startURL == defaultStartURL() && hasPlaceholderHost();
}

bool hasPlaceholderBasis(const Settings &settings)
{
    return settings.basisURL == defaultBasisURL() && hasPlaceholderHost();
}

QString readIni(const QString &file, const QString &section, const QString &key)
{
    return platform::ProfileFile::readString(file, section, key).left(maxValueLength);
}

QString appPathFor(const QString &folder)
{
    const QString native = QDir::toNativeSeparators(folder);
    return native.endsWith(QDir::separator()) ? native : native + QDir::separator();
}

QString dataFolder(const QString &programFolder)
{
    const QFileInfo folder(programFolder);
    const QString canonical = folder.canonicalFilePath();
    const bool installed = !canonical.isEmpty() && isInstallFolder(canonical);
    if (QFileInfo::exists(appPathFor(programFolder) + iniFileName) || (folder.isWritable() && !installed))
        return programFolder;
    // Named after the program, not after whichever of its tools asks.
    return userConfigFolder() + u"/kostwerk";
}

QString iniPathFor(const QString &programFolder)
{
    return appPathFor(dataFolder(programFolder)) + iniFileName;
}

QString unwritableCharacter(const Settings &settings, const QString &value)
{
    return platform::ProfileFile::unwritableCharacter(settings.iniPath, value);
}

Settings read(const QString &iniPath)
{
    return readSettings(iniPath, nullptr);
}

CacheFileProblem cacheFileProblem(const Settings &settings, const QString &cacheFile, const QString &programFile)
{
    using Kind = CacheFileProblem::Kind;
    if (QDir::isAbsolutePath(cacheFile))
        return {Kind::AbsolutePath, {}};
    // A ".." step is refused before anything is compared; a link only once
    // it is known not to lead to the settings or the program, which say more.
    const platform::PathBelow location{settings.appPath, cacheFile};
    const platform::FileFailure outOfFolder = platform::outOfFolder(location);
    if (outOfFolder.kind == platform::FileFailure::Kind::ParentStep)
        return {Kind::OutOfFolder, outOfFolder};
    if (isSameFile(location.path(), settings.iniPath))
        return {Kind::SettingsFile, {}};
    if (isSameFile(location.path(), programFile))
        return {Kind::ProgramFile, {}};
    if (outOfFolder.failed())
        return {Kind::OutOfFolder, outOfFolder};
    return {};
}

Loaded load(const QString &programFolder)
{
    const QString iniPath = iniPathFor(programFolder);
    const QString folder = QFileInfo(iniPath).path();
    // Without the folder the defaults cannot be written back, which says why.
    if (!QDir().mkpath(folder))
        qCWarning(lcSettings) << "cannot create the settings folder" << folder;
    Loaded loaded;
    loaded.settings = readSettings(iniPath, &loaded.defaultsWritten);
    loaded.programFolderNotFound = !QFileInfo(programFolder).isDir();
    return loaded;
}

platform::WriteResult save(const Settings &settings)
{
    platform::WriteResult firstFailure;
    const QString autoFetch = settings.autoFetch ? QStringLiteral("1") : QStringLiteral("0");
    const std::pair<const QString &, const QString &> entries[] = {{basisKey, settings.basisURL},
                                                                   {startKey, settings.startURL},
                                                                   {cacheKey, settings.cacheFile},
                                                                   {autoFetchKey, autoFetch}};
    for (const auto &[key, value] : entries) {
        const platform::WriteResult written = platform::ProfileFile::writeString(settings.iniPath, sectionName, key,
                                                                                 value);
        if (firstFailure.ok())
            firstFailure = written;
    }
    return firstFailure;
}

} // namespace SettingsStore

} // namespace kostwerk::settings
