#include "design/DesignList.h"

#include <QDir>
#include <algorithm>

Result<QStringList> DesignList::folderNames(const QString& designRoot) {
    const QDir root(designRoot);
    if (!root.exists())
        return Failure{QStringLiteral("デザインフォルダ「%1」がありません。").arg(designRoot)};
    // Folders and plain files alike: an entry that is not a usable design is
    // for the caller to report, not to hide.
    QStringList names = root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}
