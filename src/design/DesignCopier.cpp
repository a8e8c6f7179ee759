#include "design/DesignCopier.h"

#include "design/Procode.h"
#include "text/Cp932Codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <dirent.h>

namespace {

// A name in the folder whose bytes do not survive decoding into a QString:
// copying by the decoded name would miss the file. Such names come from
// designs made on Windows and unpacked in code page 932; the message shows
// the name in that code page.
Status checkNamesDecode(const QString& folder) {
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return {};
    Status checked;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.startsWith('.') || QFile::encodeName(QFile::decodeName(name)) == name)
            continue;
        checked = Failure{
            QStringLiteral("素材ファイル「%1」の名前はこのシステムの文字コードで表せないため"
                           "コピーできません。名前を変えてください。")
                .arg(Cp932Codec::decode(name))};
        break;
    }
    ::closedir(dir);
    return checked;
}

} // namespace

bool DesignCopier::isDesignOnlyFile(const QString& fileName) {
    // Matched without regard to case, as the design's authors' file systems do.
    return fileName.endsWith(QStringLiteral(".ddc"), Qt::CaseInsensitive) ||
           fileName.compare(Procode::fileName(), Qt::CaseInsensitive) == 0;
}

Result<QStringList> DesignCopier::resources(const DesignRoot& designs, const QString& folder) {
    if (!QDir(folder).exists())
        return Failure{QStringLiteral("デザインフォルダ「%1」がありません。").arg(folder)};
    if (Status names = checkNamesDecode(folder); !names)
        return names.failure();
    // System entries too (pipes, devices, dangling links), so that they are
    // refused rather than passed over.
    const QStringList names =
        QDir(folder).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    QStringList copied;
    for (const QString& name : names) {
        if (isDesignOnlyFile(name))
            continue;
        const QString path = folder + u'/' + name;
        if (!designs.contains(path))
            return Failure{QStringLiteral("素材ファイル「%1」はデザインフォルダ（doc_code）の外を"
                                          "指しているため、コピーできません。")
                               .arg(path)};
        if (!QFileInfo(path).isFile())
            return Failure{
                QStringLiteral("素材ファイル「%1」は通常のファイルではないため、コピーできません。")
                    .arg(path)};
        copied.append(name);
    }
    return copied;
}

Status DesignCopier::copy(const DesignRoot& designs, const QString& designFolder,
                          const QString& targetFolder) {
    const Result<QStringList> names = resources(designs, designFolder);
    if (!names)
        return names.failure();

    const QDir source(designFolder);
    const QDir target(targetFolder);
    for (const QString& name : *names) {
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
