#pragma once

#include <QSize>
#include <QString>

class QWidget;

namespace kostwerk::ui::DialogWindow {

// Makes dialog a window of its own over its parent, the main window: caption,
// program icon and the default font, a fixed client area, no minimize or
// maximize button, and gone once closed, so the next opening starts afresh.
void setUp(QWidget &dialog, const char *name, const QString &caption, QSize clientSize);

} // namespace kostwerk::ui::DialogWindow
