// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/accessibility.h"

#include "ui/dialogwindow.h"

#include <QAccessibleWidget>

namespace kostwerk::ui {

namespace {

QAccessibleInterface *dialogInterface(const QString &className, QObject *object)
{
    // Asked once per class the object is of, the most derived first.
    if (className != QLatin1StringView(DialogWindow::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<DialogWindow *>(object), QAccessible::Dialog);
}

} // namespace

void describeDialogsAsDialogs()
{
    QAccessible::installFactory(dialogInterface);
}

} // namespace kostwerk::ui
