#include "app/QuickDocumentSettings.h"

#include "design/DesignRoot.h"

#include <QDir>

namespace {

// The first design file of a folder, in name order; empty when there is none.
QString firstDesignFile(const QString& folder) {
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("*.ddc")}, QDir::Files, QDir::Name);
    return files.value(0);
}

// The first name in the design root, in the order the design dialog lists
// them, whose folder lies inside the root; empty when there is none.
QString firstDesignFolder(const DesignRoot& root) {
    const Result<QStringList> names = root.names();
    if (!names)
        return {};
    for (const QString& name : *names) {
        if (root.folder(name))
            return name;
    }
    return {};
}

void fillIfEmpty(QString& value, const QString& fill) {
    if (value.isEmpty())
        value = fill;
}

} // namespace

void QuickDocumentSettings::apply(DocumentInfo& document, const ProgramFolder& program) {
    const DesignRoot root(program);
    const QString found = firstDesignFolder(root);

    fillIfEmpty(document.DocumentCreater, QStringLiteral("むくさん"));
    // Without an installed design the design stays unset rather than naming
    // one that cannot be used.
    if (!found.isEmpty()) {
        const QString designFile = firstDesignFile(root.path() + u'/' + found);
        if (document.DocumentCode == DocumentInfo::noDesignCode() && !designFile.isEmpty())
            document.DocumentCode = found + u'\\' + designFile;
        fillIfEmpty(document.DocumentCodeFolder, found);
    }
    fillIfEmpty(document.DocumentHomepage, QStringLiteral("index.html"));
    fillIfEmpty(document.DocumentMail, placeholderMail());
    fillIfEmpty(document.DocumentDataview, QStringLiteral("えふきゅーえーぺーじだよー。"));
    fillIfEmpty(document.DocumentTitle, QStringLiteral("えふきゅーえー"));
}
