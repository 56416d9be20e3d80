// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>

namespace kostwerk::ui {

// The window's measures are given in twips; 15 twips make one
// device-independent pixel, and Qt's high-DPI scaling does the rest.
namespace Twips {

inline constexpr int perPixel = 15;

constexpr int toPixels(int twips)
{
    return (twips + perPixel / 2) / perPixel;
}

constexpr QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace Twips

} // namespace kostwerk::ui
