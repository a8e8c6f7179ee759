#include "app/QuickDocumentSettings.h"

#include "design/DesignList.h"

#include <QDir>

namespace {

// The first design file of a folder, in name order; empty when there is none.
QString firstDesignFile(const QString& folder) {
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("*.ddc")}, QDir::Files, QDir::Name);
    return files.value(0);
}

void fillIfEmpty(QString& value, const QString& fill) {
    if (value.isEmpty())
        value = fill;
}

} // namespace

void QuickDocumentSettings::apply(DocumentInfo& document, const ProgramFolder& program) {
    const Result<QStringList> names = DesignList::folderNames(program.designRoot());
    const QString found = names ? names->value(0) : QString();

    fillIfEmpty(document.DocumentCreater, QStringLiteral("むくさん"));
    // Without an installed design the design stays unset rather than naming
    // one that cannot be used.
    if (!found.isEmpty()) {
        const QString designFile = firstDesignFile(program.designRoot() + u'/' + found);
        if (document.DocumentCode == DocumentInfo::noDesignCode() && !designFile.isEmpty())
            document.DocumentCode = found + u'\\' + designFile;
        fillIfEmpty(document.DocumentCodeFolder, found);
    }
    fillIfEmpty(document.DocumentHomepage, QStringLiteral("index.html"));
    fillIfEmpty(document.DocumentMail, placeholderMail());
    fillIfEmpty(document.DocumentDataview, QStringLiteral("えふきゅーえーぺーじだよー。"));
    fillIfEmpty(document.DocumentTitle, QStringLiteral("えふきゅーえー"));
}
