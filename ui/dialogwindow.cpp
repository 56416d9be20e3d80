// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/dialogwindow.h"

#include "ui/fonts.h"
#include "ui/programicon.h"

#include <QCloseEvent>

namespace kostwerk::ui {

DialogWindow::DialogWindow(QWidget *mainWindow, const char *name, const QString &caption, QSize clientSize)
    : QWidget(mainWindow)
{
    // A plain widget rather than a QDialog: QDialog would close on Escape and
    // click a button on Enter, and neither dialog of the program does that.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QLatin1StringView(name));
    setWindowTitle(caption);
    setWindowIcon(programIcon());
    // Windows take the application's font, not their parent's.
    setFont(Fonts::systemFont(8.25));
    setFixedSize(clientSize);
}

DialogWindow::~DialogWindow() = default;

void DialogWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    emit closed();
}

} // namespace kostwerk::ui
