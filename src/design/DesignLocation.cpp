#include "design/DesignLocation.h"

#include "text/TextFile.h"

#include <QFileInfo>

namespace {

bool isPlainComponent(QStringView name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0));
}

} // namespace

DesignLocation::DesignLocation(const QString& designRoot)
    : m_root(designRoot)
    , m_resolvedRoot(QFileInfo(m_root).canonicalFilePath()) {}

bool DesignLocation::resolvesInside(const QString& path) const {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    const QString resolved = info.canonicalFilePath();
    // A dangling link resolves to nothing: it leads nowhere the program may go.
    return isBelowRoot(resolved);
}

bool DesignLocation::holds(const QString& existingFolder) const {
    const QString resolved = QFileInfo(existingFolder).canonicalFilePath();
    return !resolved.isEmpty() && (resolved == m_resolvedRoot || isBelowRoot(resolved));
}

bool DesignLocation::isBelowRoot(const QString& resolved) const {
    return !resolved.isEmpty() && !m_resolvedRoot.isEmpty() &&
           resolved.startsWith(m_resolvedRoot + u'/');
}

Result<QString> DesignLocation::folder(const QString& folderName) const {
    if (!isPlainComponent(folderName))
        return outside(folderName);
    QString path = m_root + u'/' + folderName;
    if (!resolvesInside(path))
        return outside(folderName);
    return path;
}

Result<QString> DesignLocation::designFile(const QString& documentCode) const {
    QString path = m_root;
    // Windows accepts both separators, so a stored path may use either.
    for (QStringView component : QStringView(documentCode).tokenize(u'\\')) {
        for (QStringView part : component.tokenize(u'/')) {
            if (!isPlainComponent(part))
                return outside(documentCode);
            path += u'/';
            path += part;
        }
    }
    if (path.size() == m_root.size() || !resolvesInside(path))
        return outside(documentCode);
    return path;
}

Result<QString> DesignLocation::readDesignText(const QString& path) const {
    if (!resolvesInside(path))
        return Failure{
            QStringLiteral("「%1」はデザインフォルダ（doc_code）の外を指しています。").arg(path)};
    return TextFile::readRegularFile(path);
}

Failure DesignLocation::outside(const QString& value) {
    return Failure{
        QStringLiteral("デザインの指定「%1」はデザインフォルダ（doc_code）の中を指していません。")
            .arg(value)};
}
