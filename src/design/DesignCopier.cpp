#include "design/DesignCopier.h"

#include "design/Procode.h"

#include <QDir>
#include <QFile>

bool DesignCopier::isDesignOnlyFile(const QString& fileName) {
    // Matched without regard to case, as the design's authors' file systems do.
    return fileName.endsWith(QStringLiteral(".ddc"), Qt::CaseInsensitive) ||
           fileName.compare(Procode::fileName(), Qt::CaseInsensitive) == 0;
}

Status DesignCopier::copy(const QString& designFolder, const QString& targetFolder) {
    const QDir source(designFolder);
    if (!source.exists())
        return Failure{QStringLiteral("デザインフォルダ「%1」がありません。").arg(designFolder)};
    const QDir target(targetFolder);

    const QStringList files = source.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : files) {
        if (isDesignOnlyFile(name))
            continue;
        const QString destination = target.filePath(name);
        if (QFile::exists(destination) && !QFile::remove(destination))
            return Failure{QStringLiteral("「%1」を置き換えられません。").arg(destination)};
        QFile file(source.filePath(name));
        if (!file.copy(destination))
            return Failure{QStringLiteral("「%1」を「%2」にコピーできません（%3）")
                .arg(file.fileName(), targetFolder, file.errorString())};
    }

    const QStringList leftovers = target.entryList(QDir::Files, QDir::Name);
    for (const QString& name : leftovers) {
        if (isDesignOnlyFile(name) && !QFile::remove(target.filePath(name)))
            return Failure{QStringLiteral("「%1」を削除できません。").arg(target.filePath(name))};
    }
    return {};
}
