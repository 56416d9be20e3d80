// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/settings.h"

#include <QString>

// Why a typed or stored setting is not taken, as one German sentence.
namespace kostwerk::texts::SettingsRefusals {

QString cacheFile(const settings::CacheFileProblem &problem);

QString lineBreak();

// character, one or two UTF-16 units, cannot be stored in refekt.ini.
QString unwritableCharacter(const QString &character);

} // namespace kostwerk::texts::SettingsRefusals
