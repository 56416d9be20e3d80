// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/printpreview.h"

#include <QAction>
#include <QCoreApplication>
#include <QScreen>
#include <QShowEvent>
#include <QToolBar>
#include <QToolButton>

namespace kostwerk::ui {

namespace {

// Qt makes the toolbar's buttons for the mouse only. They join the tab chain
// in the order they were made in, the toolbar's. The » button that a toolbar
// wider than the window shows, the only one without an action, was made
// first; it goes after the buttons, whose hidden ones it shows.
void joinTabChain(QToolBar &toolBar)
{
    const QList<QToolButton *> buttons = toolBar.findChildren<QToolButton *>();
    for (QToolButton *button : buttons)
        button->setFocusPolicy(Qt::TabFocus);
    for (QToolButton *button : buttons) {
        if (!button->defaultAction()) {
            button->setAccessibleName(u"Weitere Schaltflächen"_qs);
            button->setToolTip(button->accessibleName());
            QWidget::setTabOrder(toolBar.widgetForAction(toolBar.actions().constLast()), button);
        }
    }
}

// Qt gives none of the preview's actions a shortcut, and names some of them
// but not the print action. Its text, looked up in the translation the
// dialog itself was given, finds it in any language.
void printOnCtrlP(QDialog &preview)
{
    const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction *action : preview.findChildren<QAction *>()) {
        if (action->text() == print)
            action->setShortcut(QKeySequence::Print);
    }
}

} // namespace

PrintPreview::PrintPreview(QPrinter *printer, QWidget *parent)
    : QPrintPreviewDialog(printer, parent)
{
    joinTabChain(*findChild<QToolBar *>());
    printOnCtrlP(*this);
}

PrintPreview::~PrintPreview() = default;

void PrintPreview::showEvent(QShowEvent *event)
{
    // A new window is made at most two thirds of the screen wide, which on
    // a small screen hides the end of the toolbar, the print button with it.
    if (!event->spontaneous()) {
        const int wanted = qMin(sizeHint().width(), screen()->availableGeometry().width());
        if (wanted > width())
            resize(wanted, height());
    }
    // Centres the preview over its parent at its final size.
    QPrintPreviewDialog::showEvent(event);
}

} // namespace kostwerk::ui
