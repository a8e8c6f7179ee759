#include "forms/WindowPlace.h"

#include <QSettings>
#include <QWidget>

namespace {

QString keyFor(const QString& name) {
    return QStringLiteral("windows/") + name;
}

} // namespace

void WindowPlace::restore(QWidget& window, const QString& name) {
    const QByteArray geometry = QSettings().value(keyFor(name)).toByteArray();
    if (!geometry.isEmpty())
        window.restoreGeometry(geometry);
}

void WindowPlace::save(const QWidget& window, const QString& name) {
    QSettings().setValue(keyFor(name), window.saveGeometry());
}
