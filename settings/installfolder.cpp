// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/installfolder.h"

#include "generated/buildconfig.h"

#include <QFileInfo>

#include <algorithm>
#include <array>

namespace kostwerk::settings {

bool isInstallFolder(const QString &canonicalFolder)
{
    // Where packages and administrators put programs, with or without the rest
    // of an installation.
    static const std::array systemFolders = {QStringLiteral("/usr/bin"), QStringLiteral("/usr/local/bin")};
    if (std::any_of(systemFolders.begin(), systemFolders.end(),
                    [&](const QString &folder) { return canonicalFolder == QFileInfo(folder).canonicalFilePath(); }))
        return true;
    return QFileInfo::exists(canonicalFolder + u'/' + QLatin1StringView(BuildConfig::copyrightFromProgramFolder));
}

} // namespace kostwerk::settings
