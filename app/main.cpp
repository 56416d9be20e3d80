#include "buildconfig.h"
#include "internettransfer.h"
#include "kostwerk.h"
#include "programicon.h"

#include <QApplication>
#include <QDate>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kostwerk"));
    QApplication::setApplicationDisplayName(QStringLiteral("Refekt Küchenplan"));
    // Lets Wayland compositors match the window to its desktop entry and icon.
    QGuiApplication::setDesktopFileName(QLatin1StringView(BuildConfig::appId));
    QApplication::setWindowIcon(programIcon());

    ProgramState state;
    InternetTransfer transfer;
    Kostwerk window(state, transfer);
    window.Form_Load(QCoreApplication::applicationDirPath(), QDate::currentDate());
    window.show();
    return app.exec();
}
