// SPDX-License-Identifier: GPL-3.0-or-later

#include "generated/buildconfig.h"
#include "platform/internettransfer.h"
#include "session/weeksession.h"
#include "ui/accessibility.h"
#include "ui/mainwindow.h"
#include "ui/programicon.h"
#include "ui/qtlanguage.h"

#include <QApplication>
#include <QNetworkProxyFactory>

using namespace kostwerk;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kostwerk"));
    // Lets Wayland compositors match the window to its desktop entry, whose
    // name and icon menus and task bars show. No display name is set: Qt would
    // append it to every window title not ending with it ("Einstellungen —
    // ..."), and each window's caption is its own.
    QGuiApplication::setDesktopFileName(QLatin1StringView(BuildConfig::appId));
    QApplication::setWindowIcon(ui::programIcon());
    ui::useGermanForQt(app);
    ui::describeDialogsAsDialogs();
    // Users behind a proxy have it in their system settings, not in ours.
    QNetworkProxyFactory::setUseSystemConfiguration(true);

    platform::InternetTransfer transfer;
    session::WeekSession session(transfer);
    ui::MainWindow window(session);
    window.startUp(QCoreApplication::applicationDirPath());
    window.show();
    return app.exec();
}
