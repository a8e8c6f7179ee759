#include "forms/WindowPlace.h"

#include <QSettings>
#include <QWidget>
#include <algorithm>

namespace {

QString keyFor(const QString& name) {
    return QStringLiteral("windows/") + name;
}

} // namespace

bool WindowPlace::restore(QWidget& window, const QString& name) {
    const QByteArray geometry = QSettings().value(keyFor(name)).toByteArray();
    return !geometry.isEmpty() && window.restoreGeometry(geometry);
}

void WindowPlace::save(const QWidget& window, const QString& name) {
    QSettings().setValue(keyFor(name), window.saveGeometry());
}

QRect WindowPlace::beside(const QRect& owner, const QSize& size, const QRect& available,
                          const QRect& keepClear) {
    // Kept within the area along the side it is put on.
    const auto within = [&](int at, int length, int from, int to) {
        return std::max(from, std::min(at, to - length));
    };
    const int right = available.x() + available.width();
    const int bottom = available.y() + available.height();
    const int top = within(owner.y(), size.height(), available.y(), bottom);
    const int left = within(owner.x(), size.width(), available.x(), right);
    const QRect onRight(QPoint(owner.x() + owner.width(), top), size);
    const QRect below(QPoint(left, owner.y() + owner.height()), size);
    const QRect onLeft(QPoint(owner.x() - size.width(), top), size);
    for (const QRect& place : {onRight, below, onLeft}) {
        if (available.contains(place))
            return place;
    }
    const int clear = std::max(
        available.y(), keepClear.isNull() ? available.y() : keepClear.y() + keepClear.height());
    const QSize fitting(std::min(size.width(), available.width()),
                        std::min(size.height(), bottom - clear));
    return {QPoint(right - fitting.width(), std::max(clear, bottom - fitting.height())), fitting};
}
