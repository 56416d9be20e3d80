// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/printing/printpreview.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGraphicsView>
#include <QLineEdit>
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

// Qt names some of the preview's actions but not the print action. Its text,
// looked up in the translation the dialog itself was given, finds it in any
// language.
QAction *printAction(QDialog &preview)
{
    const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction *action : preview.findChildren<QAction *>()) {
        if (action->text() == print)
            return action;
    }
    return nullptr;
}

} // namespace

PrintPreview::PrintPreview(QPrinter *printer, const QString &name, QWidget *parent)
    : QPrintPreviewDialog(printer, parent)
{
    setWindowTitle(u"Druckvorschau – " + name);
    auto *toolBar = findChild<QToolBar *>();
    joinTabChain(*toolBar);
    // Qt names neither the page number field nor the pages, which take the
    // focus for scrolling. The zoom field's line edit is read as its combo
    // box, whose name on Linux is its text ("38.5%"); the description says
    // what the number is.
    for (QLineEdit *field : toolBar->findChildren<QLineEdit *>()) {
        if (!qobject_cast<QComboBox *>(field->parentWidget()))
            field->setAccessibleName(u"Seite"_qs);
    }
    for (QComboBox *zoom : toolBar->findChildren<QComboBox *>())
        zoom->setAccessibleDescription(u"Vergrößerung"_qs);
    for (QGraphicsView *pages : findChildren<QGraphicsView *>())
        pages->setAccessibleName(u"Vorschau"_qs);
    // Qt gives none of the preview's actions a shortcut. Its own print
    // waits in the print dialog's event loop.
    if (QAction *print = printAction(*this)) {
        print->setShortcut(QKeySequence::Print);
        disconnect(print, &QAction::triggered, this, nullptr);
        connect(print, &QAction::triggered, this, &PrintPreview::printRequested);
    }
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
