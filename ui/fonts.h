// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QFontDatabase>

namespace kostwerk::ui::Fonts {

// The system's general face at a size of its own: on screen it stands in for
// "MS Sans Serif", and the printouts use it too.
inline QFont systemFont(qreal pointSize, QFont::Weight weight = QFont::Normal)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(pointSize);
    font.setWeight(weight);
    return font;
}

} // namespace kostwerk::ui::Fonts
