#include "forms/IconImageList.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

// The icons are compiled into the forms library; a static library's
// resources are registered by hand.
static void registerIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace {

// Draws a round badge with a mark, at 16 and 32 pixels for sharp rendering
// on ordinary and high-DPI screens.
template <typename DrawMark>
QIcon badge(const QColor& fill, DrawMark drawMark) {
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawEllipse(QRectF(1, 1, 14, 14));
        QPen pen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        drawMark(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QIcon IconImageList::enabledIcon() {
    static const QIcon icon = badge(QColor(0x2e, 0x8b, 0x57), [](QPainter& p) {
        QPainterPath check;
        check.moveTo(4.5, 8.2);
        check.lineTo(7.0, 10.7);
        check.lineTo(11.5, 5.5);
        p.drawPath(check);
    });
    return icon;
}

QIcon IconImageList::disabledIcon() {
    static const QIcon icon = badge(QColor(0xa0, 0xa0, 0xa0),
                                    [](QPainter& p) { p.drawLine(QPointF(5, 8), QPointF(11, 8)); });
    return icon;
}

QIcon IconImageList::spareIcon() {
    static const QIcon icon = badge(QColor(0x2b, 0x6c, 0xb0), [](QPainter& p) {
        p.drawPoint(QPointF(8, 11.5));
        QPainterPath hook;
        hook.moveTo(5.8, 6.0);
        hook.cubicTo(5.8, 3.4, 10.2, 3.4, 10.2, 6.0);
        hook.cubicTo(10.2, 7.6, 8.0, 7.8, 8.0, 9.2);
        p.drawPath(hook);
    });
    return icon;
}

QIcon IconImageList::forIconNumber(int icon) {
    return icon == 1 ? enabledIcon() : disabledIcon();
}

QIcon IconImageList::programIcon() {
    static const QIcon icon = [] {
        registerIconResources();
        QIcon result;
        for (int size : {16, 22, 32, 48, 64, 128, 256})
            result.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/brindlewick.png").arg(size),
                           QSize(size, size));
        return result;
    }();
    return icon;
}
