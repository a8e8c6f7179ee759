#include "forms/PreviewPageScript.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

// The script is compiled into the forms library; a static library's
// resources are registered by hand.
static void registerPreviewResources() {
    Q_INIT_RESOURCE(preview);
}

namespace {

QString call(const QString& function, const QString& argument = QString()) {
    return QStringLiteral("window.previewPage ? previewPage.%1(%2) : null;")
        .arg(function, argument);
}

void appendPath(QByteArray& json, const std::vector<int>& path) {
    json += '[';
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i > 0)
            json += ',';
        json += QByteArray::number(path[i]);
    }
    json += ']';
}

void appendRegion(QByteArray& json, const PageChanges::Region& region) {
    json += R"({"path":)";
    appendPath(json, region.path);
    json += R"(,"after":)" + QByteArray::number(region.after) + R"(,"before":)" +
            QByteArray::number(region.before) + R"(,"shown":")" + region.shown.toBase64() +
            R"(","next":")" + region.next.toBase64() + R"("})";
}

} // namespace

QWebEngineScript PreviewPageScript::helper() {
    registerPreviewResources();
    QFile file(QStringLiteral(":/preview/PreviewPage.js"));
    (void)file.open(QIODevice::ReadOnly);
    QWebEngineScript script;
    script.setName(QStringLiteral("brindlewick-preview"));
    script.setSourceCode(QString::fromUtf8(file.readAll()));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(kWorld);
    script.setRunsOnSubFrames(false);
    return script;
}

QString PreviewPageScript::update(const std::vector<PageChanges::Region>& regions) {
    QByteArray json = "[";
    for (const PageChanges::Region& region : regions) {
        if (json.size() > 1)
            json += ',';
        appendRegion(json, region);
    }
    json += ']';
    return call(QStringLiteral("update"), QString::fromLatin1(json));
}

QString PreviewPageScript::remember(const PageOutline& page) {
    // Lists shorter than this are paired at once when they change.
    constexpr int kLongList = 256;
    QByteArray json = "[";
    for (const int list : page.elementsWithChildren(kLongList)) {
        if (json.size() > 1)
            json += ',';
        appendPath(json, page.pathOf(list));
    }
    json += ']';
    return call(QStringLiteral("remember"), QString::fromLatin1(json));
}

QString PreviewPageScript::state() {
    return call(QStringLiteral("state"));
}

QString PreviewPageScript::restore(const QString& saved) {
    // A JSON string is a JavaScript string literal.
    const QByteArray literal = QJsonDocument(QJsonArray{saved}).toJson(QJsonDocument::Compact);
    return call(QStringLiteral("restore"), QString::fromUtf8(literal.mid(1, literal.size() - 2)));
}

QString PreviewPageScript::settled() {
    return call(QStringLiteral("settled"));
}
