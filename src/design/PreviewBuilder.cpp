#include "design/PreviewBuilder.h"

#include "design/DesignCopier.h"
#include "design/DesignRoot.h"
#include "design/HtmlExporter.h"
#include "design/WrepClass.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

PreviewBuilder::PreviewBuilder(const Project& project, ProgramFolder program)
    : m_project(project)
    , m_program(std::move(program)) {}

Status PreviewBuilder::removePlainFiles(const QString& folder) {
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files)) {
        if (!QFile::remove(dir.filePath(name)))
            return Failure{QStringLiteral("「%1」を削除できません。").arg(dir.filePath(name))};
    }
    return {};
}

Result<QString> PreviewBuilder::build(const QString& previewFolder) const {
    // The page is made before the folder is touched: a design that cannot be
    // read leaves the last preview as it was.
    WrepClass engine(m_project, m_program);
    if (Status run = engine.ddc_datacode(); !run)
        return run.failure();
    const DesignRoot designs(m_program);
    const Result<QString> designFolder = designs.folder(m_project.document.DocumentCodeFolder);
    if (!designFolder)
        return designFolder.failure();
    if (!QDir(previewFolder).exists())
        return Failure{
            QStringLiteral("プレビュー用のフォルダ「%1」がありません。").arg(previewFolder)};

    if (Status removed = removePlainFiles(previewFolder); !removed)
        return removed.failure();
    // From here on a failure empties the folder again.
    const auto abandon = [&](const Status& failed) -> Result<QString> {
        (void)removePlainFiles(previewFolder);
        return failed.failure();
    };
    if (Status copied = DesignCopier::copy(designs, *designFolder, previewFolder); !copied)
        return abandon(copied);

    const QString pagePath = previewFolder + u'/' + pageFileName();
    if (Status written = HtmlExporter::writePageFile(pagePath, engine.sorce()); !written)
        return abandon(written);
    return pagePath;
}

PreviewBuilder::Built PreviewBuilder::readBack(const QString& previewFolder) {
    // Pictures and the like are told apart by their size alone: reading
    // them after every change would cost more than it finds.
    constexpr qint64 kLargestReadResource = qint64(4) * 1024 * 1024;
    Built built;
    QCryptographicHash resources(QCryptographicHash::Sha256);
    const QDir dir(previewFolder);
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name)) {
        QFile file(info.filePath());
        const bool isPage = info.fileName() == pageFileName();
        if ((isPage || info.size() <= kLargestReadResource) && !file.open(QIODevice::ReadOnly))
            continue;
        if (isPage) {
            built.page = file.readAll();
            continue;
        }
        resources.addData(info.fileName().toUtf8());
        resources.addData(QByteArray::number(info.size()) + '\0');
        if (file.isOpen())
            resources.addData(&file);
    }
    built.resources = resources.result();
    return built;
}
