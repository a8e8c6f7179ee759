#include "forms/PreviewEngine.h"

#include "forms/PreviewScheme.h"

#include <QByteArray>
#include <QtGlobal>

namespace {

#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
// Adds a feature to those the engine is told to enable, keeping any the
// user gives it.
void enableBlinkFeature(const QByteArray& feature) {
    static constexpr char kSwitch[] = "--enable-blink-features=";
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    const qsizetype at = flags.indexOf(kSwitch);
    if (at < 0) {
        if (!flags.isEmpty())
            flags += ' ';
        flags += kSwitch + feature;
    } else {
        const qsizetype end = flags.indexOf(' ', at);
        flags.insert(end < 0 ? flags.size() : end, ',' + feature);
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}
#endif

} // namespace

void PreviewEngine::prepare() {
    PreviewScheme::registerScheme();
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
    // Every browser readers use knows :has(); the engine of Qt 6.4 has it
    // but off. The shipped designs hide switched-off entries with it, so
    // that an edited question restyles no entry.
    enableBlinkFeature(QByteArrayLiteral("CSSPseudoHas"));
#endif
}
