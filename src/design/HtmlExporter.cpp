#include "design/HtmlExporter.h"

#include "design/DesignCopier.h"
#include "design/DesignLocation.h"
#include "design/WrepClass.h"
#include "text/Cp932Codec.h"
#include "text/FileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>

namespace {

Failure alreadyThere(const QString& output) {
    return Failure{
        QStringLiteral("「%1」は既にあります。html出力には新しいフォルダ名を指定してください。")
            .arg(output)};
}

// The folder as the user named it, without trailing slashes, so that its
// last component is the page's name. Nothing else is cleaned: "link/../faq"
// is for the file system to resolve, through the link.
QString withoutTrailingSlashes(QString path) {
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

// A new hidden folder beside the output folder, in which the export is
// built. A name taken by another export, or left by one that was killed, is
// passed over.
Result<QString> makeStagingFolder(const QString& parent, const QString& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = QStringLiteral("%1/.%2.part-%3")
                                 .arg(parent, name)
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0'));
        if (QDir().mkdir(path))
            return path;
        if (!QFileInfo::exists(path))
            break;
    }
    return Failure{
        QStringLiteral("フォルダ「%1」の中に作業用のフォルダを作成できません。").arg(parent)};
}

// The page of an export into folder: NAME.html, NAME being the folder's own
// name.
QString pagePathIn(const QString& folder) {
    return folder + u'/' + QFileInfo(folder).fileName() + QStringLiteral(".html");
}

} // namespace

HtmlExporter::HtmlExporter(const Project& project, ProgramFolder program)
    : m_project(project)
    , m_program(std::move(program)) {}

Result<QString> HtmlExporter::render() const {
    if (!m_project.document.isCompleteForPage())
        return Failure{incompleteMessage()};
    WrepClass engine(m_project, m_program);
    if (Status run = engine.ddc_datacode(); !run)
        return Failure{run.error()};
    return engine.sorce();
}

Result<QString> HtmlExporter::write(const QString& page, const QString& outputPath) const {
    const QString output = withoutTrailingSlashes(outputPath);
    const QFileInfo outputInfo(output);
    if (outputInfo.exists() || outputInfo.isSymLink())
        return alreadyThere(output);
    // The page and the resources are made in a hidden folder that becomes
    // the output folder only when complete: an export that is killed or
    // fails half-way leaves no folder that looks finished.
    const Result<QString> staging = buildBeside(page, output);
    if (!staging)
        return Failure{staging.error()};
    // Never over a folder that appeared meanwhile, not even an empty one.
    if (::renameat2(AT_FDCWD, QFile::encodeName(*staging).constData(), AT_FDCWD,
                    QFile::encodeName(output).constData(), RENAME_NOREPLACE) != 0) {
        const int error = errno;
        QDir(*staging).removeRecursively();
        if (error == EEXIST)
            return alreadyThere(output);
        return Failure{QStringLiteral("フォルダ「%1」を作成できません。").arg(output)};
    }
    return pagePathIn(output);
}

Result<QString> HtmlExporter::rewrite(const QString& page, const QString& outputPath) const {
    const QString output = withoutTrailingSlashes(outputPath);
    if (!holdsExport(output))
        return Failure{
            QStringLiteral("「%1」には前回のhtml出力がありません。").arg(pagePathIn(output))};
    const Result<QString> staging = buildBeside(page, output);
    if (!staging)
        return Failure{staging.error()};
    // The two folders trade places in one step; the old one is then removed
    // under the hidden name.
    if (::renameat2(AT_FDCWD, QFile::encodeName(*staging).constData(), AT_FDCWD,
                    QFile::encodeName(output).constData(), RENAME_EXCHANGE) != 0) {
        QDir(*staging).removeRecursively();
        return Failure{QStringLiteral("「%1」を置き換えられません。").arg(output)};
    }
    QDir(*staging).removeRecursively();
    return pagePathIn(output);
}

bool HtmlExporter::holdsExport(const QString& outputPath) {
    const QFileInfo folder(withoutTrailingSlashes(outputPath));
    return folder.isDir() && !folder.isSymLink() &&
           QFileInfo(pagePathIn(folder.filePath())).isFile();
}

Result<QString> HtmlExporter::buildBeside(const QString& page, const QString& output) const {
    const DesignLocation designs(m_program);
    const Result<QString> designFolder = designs.folder(m_project.document.DocumentCodeFolder);
    if (!designFolder)
        return Failure{designFolder.error()};
    const QString parent = QFileInfo(output).path();
    if (!QFileInfo(parent).isDir())
        return Failure{QStringLiteral("フォルダ「%1」を作成できません。").arg(output)};
    if (designs.holds(parent))
        return Failure{QStringLiteral("「%1」はデザインフォルダ（doc_code）の中です。html出力には"
                                      "ほかの場所を指定してください。")
                           .arg(output)};

    const Result<QString> staging = makeStagingFolder(parent, QFileInfo(output).fileName());
    if (!staging)
        return Failure{staging.error()};
    const auto abandon = [&](const QString& message) -> Result<QString> {
        QDir(*staging).removeRecursively();
        return Failure{message};
    };
    if (Status copied = DesignCopier::copy(designs, *designFolder, *staging); !copied)
        return abandon(copied.error());
    const QString pageName = QFileInfo(output).fileName() + QStringLiteral(".html");
    if (Status written = writePageFile(*staging + u'/' + pageName, page); !written)
        return abandon(written.error());
    return staging;
}

Status HtmlExporter::writePageFile(const QString& path, const QString& page) {
    QByteArray bytes;
    Cp932Codec::encodeForHtml(page, bytes);
    bytes.append("\r\n");
    return FileWriter::writeWhole(path, bytes);
}
