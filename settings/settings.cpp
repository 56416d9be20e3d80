#include "settings.h"

#include "allgemein.h"
#include "buildconfig.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString sectionName = QLatin1StringView(SettingsStore::section);
const QString startKey = QStringLiteral("startURL");
const QString basisKey = QStringLiteral("basisURL");
const QString cacheKey = QStringLiteral("cacheFile");
const QString iniFileName = QStringLiteral("refekt.ini");

QString menuSite()
{
    return u"http://" + QLatin1StringView(BuildConfig::menuHost) + u"/uni/refekt/";
}

// A missing or empty value becomes the default, which is written back.
void applyDefault(const QString &iniPath, const QString &key, QString &value,
                  const QString &defaultValue)
{
    if (!value.isEmpty())
        return;
    value = defaultValue;
    writeIni(iniPath, sectionName, key, value);
}

} // namespace

namespace SettingsStore {

QString defaultStartURL() { return menuSite() + u"00.html"; }
QString defaultBasisURL() { return menuSite(); }
QString defaultCacheFile() { return QStringLiteral("cache.rfk"); }

QString appPathFor(const QString &folder)
{
    const QString native = QDir::toNativeSeparators(folder);
    return native.endsWith(QDir::separator()) ? native : native + QDir::separator();
}

QString dataFolder(const QString &programFolder)
{
    const QFileInfo folder(programFolder);
    if (folder.isWritable() || QFileInfo::exists(appPathFor(programFolder) + iniFileName))
        return programFolder;
    const QString perUser = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(perUser);
    return perUser;
}

Settings load(const QString &programFolder)
{
    Settings settings;
    settings.appPath = appPathFor(dataFolder(programFolder));
    settings.iniPath = settings.appPath + iniFileName;
    // All three are read before any default is written back.
    settings.startURL = readIni(settings.iniPath, sectionName, startKey);
    settings.basisURL = readIni(settings.iniPath, sectionName, basisKey);
    settings.cacheFile = readIni(settings.iniPath, sectionName, cacheKey);
    applyDefault(settings.iniPath, startKey, settings.startURL, defaultStartURL());
    applyDefault(settings.iniPath, basisKey, settings.basisURL, defaultBasisURL());
    applyDefault(settings.iniPath, cacheKey, settings.cacheFile, defaultCacheFile());
    return settings;
}

bool save(const Settings &settings)
{
    // All three are attempted even when one fails.
    const bool basis = writeIni(settings.iniPath, sectionName, basisKey, settings.basisURL);
    const bool start = writeIni(settings.iniPath, sectionName, startKey, settings.startURL);
    const bool cache = writeIni(settings.iniPath, sectionName, cacheKey, settings.cacheFile);
    return basis && start && cache;
}

} // namespace SettingsStore
