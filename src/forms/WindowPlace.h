#pragma once

#include <QRect>
#include <QString>

class QWidget;

// Where the user left a window, kept in the user's settings under a name of
// its own, so that it opens there again. The first time a window keeps the
// place it was given.
class WindowPlace {
public:
    // Puts the window where it was left; false when it never was.
    static bool restore(QWidget& window, const QString& name);
    static void save(const QWidget& window, const QString& name);

    // Where a window of `size` (frame included) goes that belongs to the
    // window whose frame is `owner`: on its right when the screen's
    // `available` area has room there, else below it, else on its left,
    // aligned with its top or left edge. With room on no side it goes into
    // the area's bottom right corner, below `keepClear` (the owner's menu
    // bar), made smaller where it must be.
    static QRect beside(const QRect& owner, const QSize& size, const QRect& available,
                        const QRect& keepClear);
};
