#include "design/DesignRoot.h"

#include "text/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <utility>

namespace {

bool isPlainComponent(QStringView name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0));
}

} // namespace

DesignRoot::DesignRoot(QString path)
    : m_path(std::move(path))
    , m_resolvedPath(QFileInfo(m_path).canonicalFilePath()) {}

Result<QStringList> DesignRoot::names() const {
    const QDir root(m_path);
    if (!root.exists())
        return Failure{QStringLiteral("デザインフォルダ「%1」がありません。").arg(m_path)};
    // Folders and plain files alike: an entry that is not a usable design is
    // for the caller to report, not to hide.
    QStringList names = root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

Result<QList<DesignRoot::Design>> DesignRoot::designs() const {
    const Result<QStringList> names = this->names();
    if (!names)
        return names.failure();
    QList<Design> found;
    for (const QString& name : *names) {
        const Result<QString> folder = this->folder(name);
        // A design that leads out of the root is no design of this program.
        if (!folder)
            continue;
        Result<Design> design = designIn(name, *folder);
        if (!design)
            return design.failure();
        found.append(std::move(*design));
    }
    return found;
}

Result<DesignRoot::Design> DesignRoot::find(const QString& folderName) const {
    const Result<QString> folder = this->folder(folderName);
    if (!folder)
        return folder.failure();
    return designIn(folderName, *folder);
}

Result<DesignRoot::Design> DesignRoot::designIn(const QString& folderName,
                                                const QString& folder) const {
    const Result<QString> text = readDesignText(folder + u'/' + Procode::fileName());
    if (!text)
        return text.failure();
    return Design{folderName, folder, Procode::parse(*text)};
}

Result<QString> DesignRoot::folder(const QString& folderName) const {
    if (!isPlainComponent(folderName))
        return outside(folderName);
    QString path = m_path + u'/' + folderName;
    if (!leadsBelow(path))
        return outside(folderName);
    return path;
}

Result<QString> DesignRoot::designFile(const QString& documentCode) const {
    QString path = m_path;
    // Windows accepts both separators, so a stored path may use either.
    for (QStringView component : QStringView(documentCode).tokenize(u'\\')) {
        for (QStringView part : component.tokenize(u'/')) {
            if (!isPlainComponent(part))
                return outside(documentCode);
            path += u'/';
            path += part;
        }
    }
    if (path.size() == m_path.size() || !leadsBelow(path))
        return outside(documentCode);
    return path;
}

Result<QString> DesignRoot::readDesignText(const QString& path) const {
    if (!leadsBelow(path))
        return Failure{
            QStringLiteral("「%1」はデザインフォルダ（doc_code）の外を指しています。").arg(path)};
    return TextFile::readRegularFile(path);
}

bool DesignRoot::contains(const QString& path) const {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    // A dangling link resolves to nothing: it leads nowhere the program may go.
    const QString resolved = info.canonicalFilePath();
    return !resolved.isEmpty() && !m_resolvedPath.isEmpty() &&
           (resolved == m_resolvedPath || resolved.startsWith(m_resolvedPath + u'/'));
}

// What a design names lies below the root: a link in a design that leads
// back to the root itself names no design and no file of one.
bool DesignRoot::leadsBelow(const QString& path) const {
    if (!contains(path))
        return false;
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return resolved.isEmpty() || resolved != m_resolvedPath;
}

Failure DesignRoot::outside(const QString& value) {
    return Failure{
        QStringLiteral("デザインの指定「%1」はデザインフォルダ（doc_code）の中を指していません。")
            .arg(value)};
}
