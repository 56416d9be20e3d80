// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/weekpage.h"
#include "platform/pagedecoding.h"
#include "ui/printing/printouts.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>

#include <iostream>

using namespace kostwerk;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 3 || arguments.size() > 4) {
        std::cerr << "Aufruf: kostwerk-week-overview WOCHENSEITE.html AUSGABE.pdf [STAND]\n";
        return 2;
    }
    QFile page(arguments.at(1));
    if (!page.open(QIODevice::ReadOnly)) {
        std::cerr << "Datei nicht lesbar: " << arguments.at(1).toStdString() << '\n';
        return 2;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(arguments.at(2));
    // The canteen's notice boards take A4, whatever the locale would choose.
    printer.setPageSize(QPageSize(QPageSize::A4));
    const core::WeekPlan weekPlan = core::WeekPage::parse(platform::decodePage(page.readAll()).text, {}).weekPlan;
    return ui::drawWhole(printer, ui::Printouts::weekOverview(weekPlan, arguments.value(3))) ? 0 : 1;
}
