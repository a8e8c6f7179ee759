#include "design/HtmlExporter.h"

#include "design/DesignCopier.h"
#include "design/DesignLocation.h"
#include "design/WrepClass.h"
#include "text/Cp932Codec.h"
#include "text/FileWriter.h"

#include <QDir>
#include <QFileInfo>

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
    const Result<QString> designFolder =
        DesignLocation::folder(m_program, m_project.document.DocumentCodeFolder);
    if (!designFolder)
        return Failure{designFolder.error()};

    const QFileInfo output(QDir::cleanPath(outputPath));
    if (output.exists() || output.isSymLink())
        return Failure{
            QStringLiteral("「%1」は既にあります。html出力には新しいフォルダ名を指定してください。")
                .arg(output.filePath())};
    if (!QDir().mkdir(output.filePath()))
        return Failure{QStringLiteral("フォルダ「%1」を作成できません。").arg(output.filePath())};

    // From here on the folder is ours: whatever fails removes it again.
    const auto abandon = [&](const Status& failed) -> Result<QString> {
        QDir(output.filePath()).removeRecursively();
        return Failure{failed.error()};
    };

    if (Status copied = DesignCopier::copy(*designFolder, output.filePath()); !copied)
        return abandon(copied);

    const QString pagePath = output.filePath() + u'/' + output.fileName() + QStringLiteral(".html");
    if (Status written = writePageFile(pagePath, page); !written)
        return abandon(written);
    return pagePath;
}

Status HtmlExporter::writePageFile(const QString& path, const QString& page) {
    QByteArray bytes;
    Cp932Codec::encodeForHtml(page, bytes);
    bytes.append("\r\n");
    return FileWriter::writeWhole(path, bytes);
}
