// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/qtlanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kostwerk::ui {

void useGermanForQt(QCoreApplication &app)
{
    // Qt's dialogs take their number and date formats and their units (the
    // page set-up's millimetres) from the default locale; the paper size
    // comes from the printer either way.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace kostwerk::ui
