#include "design/HtmlExporter.h"

#include "design/DesignCopier.h"
#include "design/WrepClass.h"
#include "text/Cp932Codec.h"
#include "text/FileWriter.h"
#include "text/TextFile.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>

namespace {

Failure alreadyThere(const QString& output) {
    return Failure{
        QStringLiteral("「%1」は既にあります。html出力には新しいフォルダ名を指定してください。")
            .arg(output)};
}

Failure insideDesignRoot(const QString& output) {
    return Failure{QStringLiteral("「%1」はデザインフォルダ（doc_code）の中です。html出力には"
                                  "ほかの場所を指定してください。")
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

// The page of an export into folder: NAME.html, NAME being the folder's own
// name.
QString pageNameFor(const QString& folder) {
    return QFileInfo(folder).fileName() + QStringLiteral(".html");
}

QString pagePathIn(const QString& folder) {
    return folder + u'/' + pageNameFor(folder);
}

QByteArray pageBytes(const QString& page) {
    QByteArray bytes;
    Cp932Codec::encodeForHtml(page, bytes);
    bytes.append("\r\n");
    return bytes;
}

// A new hidden folder beside the output folder, in which the export is
// built.
struct StagingFolder {
    QString name;
    FolderHandle folder;
};

// A name taken by another export, or left by one that was killed, is passed
// over.
Result<StagingFolder> makeStagingFolder(const FolderHandle& parent, const QString& parentPath,
                                        const QString& outputName) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name =
            QStringLiteral(".%1.part-%2")
                .arg(outputName, QString::number(QRandomGenerator::global()->generate(), 16)
                                     .rightJustified(8, u'0'));
        Result<FolderHandle> folder = parent.makeFolder(name);
        if (folder)
            return StagingFolder{name, std::move(*folder)};
        if (!parent.holds(name))
            break;
    }
    return Failure{
        QStringLiteral("フォルダ「%1」の中に作業用のフォルダを作成できません。").arg(parentPath)};
}

// Removes the files an export wrote into the hidden folder, and the folder.
void discard(const FolderHandle& parent, const StagingFolder& staging, const QStringList& files) {
    for (const QString& file : files)
        staging.folder.removeFile(file);
    parent.removeEmptyFolder(staging.name);
}

// Where renaming takes no flags: the output folder is made anew, which fails
// when anything has its name, and the files move into it one by one, the
// page (the last of files) last, so that the folder looks finished only when
// it is.
Status moveIntoNewFolder(const FolderHandle& parent, const FolderHandle& staging,
                         const QStringList& files, const QString& output) {
    const QString name = QFileInfo(output).fileName();
    const Result<FolderHandle> folder = parent.makeFolder(name);
    if (!folder)
        return parent.holds(name) ? alreadyThere(output) : folder.failure();
    for (qsizetype moved = 0; moved < files.size(); ++moved) {
        if (Status status = staging.moveInto(files.at(moved), *folder); !status) {
            for (qsizetype undone = 0; undone < moved; ++undone)
                folder->removeFile(files.at(undone));
            parent.removeEmptyFolder(name);
            return status;
        }
    }
    return {};
}

// Gives the finished export in the hidden folder the output's name, never
// over anything that has that name; the hidden folder is gone afterwards.
Status putInPlace(const FolderHandle& parent, const StagingFolder& staging,
                  const QStringList& files, const QString& output, bool renameFlagsRefused) {
    const int error =
        renameFlagsRefused
            ? EINVAL
            : parent.renameWithoutReplacing(staging.name, QFileInfo(output).fileName());
    if (error == 0)
        return {};
    Status placed;
    if (error == EINVAL || error == ENOSYS)
        placed = moveIntoNewFolder(parent, staging.folder, files, output);
    else if (error == EEXIST)
        placed = alreadyThere(output);
    else
        placed = Failure{QStringLiteral("フォルダ「%1」を作成できません。").arg(output)};
    discard(parent, staging, files);
    return placed;
}

} // namespace

HtmlExporter::HtmlExporter(const Project& project, ProgramFolder program)
    : m_project(project)
    , m_program(std::move(program)) {}

Result<QString> HtmlExporter::render() const {
    if (Status ready = m_project.document.checkForPage(); !ready)
        return ready.failure();
    WrepClass engine(m_project, m_program);
    if (Status run = engine.ddc_datacode(); !run)
        return run.failure();
    return engine.sorce();
}

Result<QString> HtmlExporter::write(const QString& page, const QString& outputPath) const {
    const QString output = withoutTrailingSlashes(outputPath);
    const QFileInfo outputInfo(output);
    if (outputInfo.exists() || outputInfo.isSymLink())
        return alreadyThere(output);
    const DesignRoot designs(m_program);
    const Result<Resources> resources = designResources(designs);
    if (!resources)
        return resources.failure();
    const QString parentPath = outputInfo.path();
    if (!QFileInfo(parentPath).isDir())
        return Failure{QStringLiteral("フォルダ「%1」を作成できません。").arg(output)};
    if (designs.contains(parentPath))
        return insideDesignRoot(output);
    const Result<FolderHandle> parent =
        FolderHandle::open(parentPath, FolderHandle::LastLink::Follow);
    if (!parent)
        return parent.failure();

    // The page and the resources are made in a hidden folder that becomes
    // the output folder only when complete: an export that is killed or
    // fails half-way leaves no folder that looks finished.
    const Result<StagingFolder> staging =
        makeStagingFolder(*parent, parentPath, outputInfo.fileName());
    if (!staging)
        return staging.failure();
    const QStringList files = resources->names + QStringList{pageNameFor(output)};
    if (Status written = writeExport(staging->folder, *resources, page, files.last()); !written) {
        discard(*parent, *staging, files);
        return written.failure();
    }
    runBeforeWriting();
    if (Status placed =
            putInPlace(*parent, *staging, files, output, m_testHooks.renameFlagsRefused);
        !placed)
        return placed.failure();
    return pagePathIn(output);
}

Result<QString> HtmlExporter::rewrite(const QString& page, const QString& outputPath) const {
    const QString output = withoutTrailingSlashes(outputPath);
    if (!holdsExport(output))
        return Failure{
            QStringLiteral("「%1」には前回のhtml出力がありません。").arg(pagePathIn(output))};
    const DesignRoot designs(m_program);
    const Result<Resources> resources = designResources(designs);
    if (!resources)
        return resources.failure();
    if (designs.contains(output))
        return insideDesignRoot(output);
    // Held open from here on: whatever becomes of the path, the files go
    // into this folder and nowhere else.
    const Result<FolderHandle> folder = FolderHandle::open(output, FolderHandle::LastLink::Refuse);
    if (!folder)
        return folder.failure();
    // Every name is checked before the first file is replaced, so that a
    // refusal leaves the folder as it was.
    const QStringList files = resources->names + QStringList{pageNameFor(output)};
    for (const QString& file : files) {
        if (Status replaceable = folder->checkReplaceable(file); !replaceable)
            return replaceable.failure();
    }
    runBeforeWriting();
    if (Status written = writeExport(*folder, *resources, page, files.last()); !written)
        return written.failure();
    return pagePathIn(output);
}

bool HtmlExporter::holdsExport(const QString& outputPath) {
    const QFileInfo folder(withoutTrailingSlashes(outputPath));
    return folder.isDir() && !folder.isSymLink() &&
           QFileInfo(pagePathIn(folder.filePath())).isFile();
}

Result<HtmlExporter::Resources> HtmlExporter::designResources(const DesignRoot& designs) const {
    const Result<QString> folder = designs.folder(m_project.document.DocumentCodeFolder);
    if (!folder)
        return folder.failure();
    Result<QStringList> names = DesignCopier::resources(designs, *folder);
    if (!names)
        return names.failure();
    return Resources{*folder, std::move(*names)};
}

Status HtmlExporter::writeExport(const FolderHandle& folder, const Resources& resources,
                                 const QString& page, const QString& pageName) {
    // The page last: until it is replaced, the folder holds the last page
    // whole, beside resources that it can use.
    for (const QString& name : resources.names) {
        const Result<QByteArray> bytes = TextFile::readBytes(resources.folder + u'/' + name);
        if (!bytes)
            return bytes.failure();
        if (Status copied = folder.replaceFile(name, *bytes); !copied)
            return copied;
    }
    return folder.replaceFile(pageName, pageBytes(page));
}

void HtmlExporter::runBeforeWriting() const {
    if (m_testHooks.beforeWriting)
        m_testHooks.beforeWriting();
}

Status HtmlExporter::writePageFile(const QString& path, const QString& page) {
    return FileWriter::writeWhole(path, pageBytes(page));
}
