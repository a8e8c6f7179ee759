#pragma once

#include <QWidget>
#include <algorithm>
#include <cmath>

// The window sizes of the program are measured in twips (1/1440 inch): 15
// twips are one pixel at 96 dots per inch, scaled by the screen's logical DPI.
namespace Twips {

inline int toPixels(int twips, const QWidget* widget) {
    const double dpi = widget ? widget->logicalDpiX() : 96.0;
    return int(std::lround(twips / 15.0 * dpi / 96.0));
}

inline int fromPixels(int pixels, const QWidget* widget) {
    const double dpi = widget ? widget->logicalDpiX() : 96.0;
    return int(std::lround(pixels * 15.0 * 96.0 / dpi));
}

// A computed size that would be negative on a very small window is zero.
inline int clampedPixels(int twips, const QWidget* widget) {
    return std::max(0, toPixels(twips, widget));
}

} // namespace Twips
