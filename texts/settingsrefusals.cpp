// SPDX-License-Identifier: GPL-3.0-or-later

#include "texts/settingsrefusals.h"

namespace kostwerk::texts {

namespace SettingsRefusals {

QString cacheFile(const settings::CacheFileProblem &problem)
{
    using Kind = settings::CacheFileProblem::Kind;
    switch (problem.kind) {
    case Kind::None:
        return QString();
    case Kind::AbsolutePath:
        return QStringLiteral("Die Cache-Datei liegt immer im Ordner der Einstellungen; "
                              "ein absoluter Pfad ist nicht möglich.");
    case Kind::SettingsFile:
        return QStringLiteral("Die Cache-Datei darf nicht die Einstellungsdatei refekt.ini sein.");
    case Kind::ProgramFile:
        return QStringLiteral("Die Cache-Datei darf nicht das Programm selbst sein.");
    case Kind::OutOfFolder:
        break;
    }
    if (problem.failure.kind == platform::FileFailure::Kind::ParentStep)
        return QStringLiteral("Die Cache-Datei liegt immer im Ordner der Einstellungen; "
                              "„..“ führt aus ihm hinaus.");
    return QStringLiteral("Die Cache-Datei liegt immer im Ordner der Einstellungen; ein symbolischer Link "
                          "(auch einer zu einem Ordner) könnte an jeden anderen Ort führen.");
}

QString lineBreak()
{
    return QStringLiteral("Die Einstellungen dürfen keinen Zeilenumbruch enthalten.");
}

QString unwritableCharacter(const QString &character)
{
    const char32_t codePoint = character.size() == 2 ? QChar::surrogateToUcs4(character[0], character[1])
                                                     : character.front().unicode();
    return u"Das Zeichen „" + character + u"“ (U+" + QString::number(codePoint, 16).toUpper().rightJustified(4, u'0')
           + u") kann in refekt.ini nicht gespeichert werden.";
}

} // namespace SettingsRefusals

} // namespace kostwerk::texts
