#include "ui/dialogwindow.h"

#include "ui/fonts.h"
#include "ui/programicon.h"

#include <QWidget>

namespace kostwerk::ui {

namespace DialogWindow {

void setUp(QWidget &dialog, const char *name, const QString &caption, QSize clientSize)
{
    // A plain widget rather than a QDialog: QDialog would close on Escape and
    // click a button on Enter, and neither dialog of the program does that.
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setAttribute(Qt::WA_DeleteOnClose);
    dialog.setObjectName(QLatin1StringView(name));
    dialog.setWindowTitle(caption);
    dialog.setWindowIcon(programIcon());
    // Windows take the application's font, not their parent's.
    dialog.setFont(Fonts::systemFont(8.25));
    dialog.setFixedSize(clientSize);
}

} // namespace DialogWindow

} // namespace kostwerk::ui
