#pragma once

#include <QRect>
#include <QWidget>
#include <cmath>

// The window sizes of the program are measured in twips (1/1440 inch): 15
// twips are one pixel at 96 dots per inch, scaled by the screen's logical DPI.
namespace Twips {

inline int toPixels(int twips, const QWidget* widget) {
    const double dpi = widget ? widget->logicalDpiX() : 96.0;
    return int(std::lround(twips / 15.0 * dpi / 96.0));
}

// Places a control of a fixed-size dialog at a rectangle given in twips.
inline void place(QWidget* widget, const QRect& twips) {
    widget->setGeometry(toPixels(twips.x(), widget), toPixels(twips.y(), widget),
                        toPixels(twips.width(), widget), toPixels(twips.height(), widget));
}

} // namespace Twips
