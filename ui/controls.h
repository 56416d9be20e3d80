#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QLatin1StringView>
#include <QRect>
#include <QWidget>

namespace kostwerk::ui {

// What every window needs to put its controls where its layout table says.
namespace Controls {

// Puts widget on parent at a fixed place, named for tests and accessibility
// tools to find.
template<typename Widget>
Widget *place(QWidget *parent, Widget *widget, const char *name, const QRect &geometry)
{
    widget->setParent(parent);
    widget->setObjectName(QLatin1StringView(name));
    widget->setGeometry(geometry);
    return widget;
}

// The system's sans-serif face stands in for "MS Sans Serif".
inline QFont sansSerif(qreal pointSize, QFont::Weight weight)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(pointSize);
    font.setWeight(weight);
    return font;
}

} // namespace Controls

} // namespace kostwerk::ui
