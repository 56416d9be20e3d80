// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QSize>
#include <QString>
#include <QWidget>

namespace kostwerk::ui {

// A dialog of the program: a window of its own over the main window, with
// caption, program icon and the default font, a fixed client area, no
// minimize or maximize button, and gone once closed, so that the next opening
// starts afresh. It is not modal, and it tells when it closes, however that
// happens, so that the main window can take the focus back.
class DialogWindow : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DialogWindow)

public:
    ~DialogWindow() override;

signals:
    void closed();

protected:
    DialogWindow(QWidget *mainWindow, const char *name, const QString &caption, QSize clientSize);

    void closeEvent(QCloseEvent *event) override;
};

} // namespace kostwerk::ui
