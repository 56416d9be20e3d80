// SPDX-License-Identifier: GPL-3.0-or-later

#include "texts/settingsrefusals.h"

namespace kostwerk::texts {

namespace SettingsRefusals {

QString cacheFile(settings::CacheFileProblem problem)
{
    using Problem = settings::CacheFileProblem;
    switch (problem) {
    case Problem::None:
        return QString();
    case Problem::AbsolutePath:
        return QStringLiteral("Die Cache-Datei liegt immer im Ordner der Einstellungen; "
                              "ein absoluter Pfad ist nicht möglich.");
    case Problem::ParentStep:
        return QStringLiteral("Die Cache-Datei liegt immer im Ordner der Einstellungen; "
                              "„..“ führt aus ihm hinaus.");
    case Problem::SettingsFile:
        return QStringLiteral("Die Cache-Datei darf nicht die Einstellungsdatei refekt.ini sein.");
    case Problem::ProgramFile:
        return QStringLiteral("Die Cache-Datei darf nicht das Programm selbst sein.");
    case Problem::Link:
        return QStringLiteral("Die Cache-Datei liegt immer im Ordner der Einstellungen; ein symbolischer Link "
                              "(auch einer zu einem Ordner) könnte an jeden anderen Ort führen.");
    }
    return QString();
}

QString lineBreak()
{
    return QStringLiteral("Die Einstellungen dürfen keinen Zeilenumbruch enthalten.");
}

} // namespace SettingsRefusals

} // namespace kostwerk::texts
