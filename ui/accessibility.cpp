// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/accessibility.h"

#include "ui/dialogwindow.h"
#include "ui/statusdisplay.h"

#include <QAccessibleWidget>

namespace kostwerk::ui {

namespace {

// A notification is named by its text, which a label's own interface does.
class StatusNotification final : public QAccessibleWidget
{
public:
    explicit StatusNotification(StatusDisplay *status)
        : QAccessibleWidget(status, QAccessible::Notification)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? static_cast<const QLabel *>(widget())->text()
                                         : QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    // Asked once per class the object is of, the most derived first.
    if (className == QLatin1StringView(DialogWindow::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<DialogWindow *>(object), QAccessible::Dialog);
    if (className == QLatin1StringView(StatusDisplay::staticMetaObject.className()))
        return new StatusNotification(static_cast<StatusDisplay *>(object));
    return nullptr;
}

} // namespace

void describeForScreenReaders()
{
    QAccessible::installFactory(interfaceFor);
}

} // namespace kostwerk::ui
