#include "design/PreviewBuilder.h"

#include "app/Cp932Codec.h"
#include "app/FileWriter.h"
#include "design/DesignCopier.h"
#include "design/DesignLocation.h"
#include "design/WrepClass.h"

#include <QDir>
#include <QFile>

PreviewBuilder::PreviewBuilder(MApp& app, ProgramFolder program)
    : m_app(app)
    , m_program(std::move(program)) {}

QString PreviewBuilder::removePlainFiles(const QString& folder) {
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files)) {
        if (!QFile::remove(dir.filePath(name)))
            return QStringLiteral("「%1」を削除できません。").arg(dir.filePath(name));
    }
    return QString();
}

std::optional<QString> PreviewBuilder::fail(const QString& folder, const QString& message) {
    if (!folder.isEmpty())
        removePlainFiles(folder);
    m_error = message;
    return std::nullopt;
}

std::optional<QString> PreviewBuilder::build(const QString& previewFolder) {
    m_error.clear();
    // The page is made before the folder is touched: a design that cannot be
    // read leaves the last preview as it was.
    WrepClass engine(m_app, m_program);
    if (!engine.ddc_datacode())
        return fail(QString(), engine.errorString());
    const std::optional<QString> designFolder =
        DesignLocation::folder(m_program, m_app.DocumentCodeFolder);
    if (!designFolder)
        return fail(QString(), DesignLocation::outsideMessage(m_app.DocumentCodeFolder));
    if (!QDir(previewFolder).exists())
        return fail(
            QString(),
            QStringLiteral("プレビュー用のフォルダ「%1」がありません。").arg(previewFolder));

    if (QString error = removePlainFiles(previewFolder); !error.isEmpty())
        return fail(QString(), error);
    if (QString error = DesignCopier::copy(*designFolder, previewFolder); !error.isEmpty())
        return fail(previewFolder, error);

    QByteArray bytes;
    Cp932Codec::encodeForHtml(engine.sorce(), bytes);
    bytes.append("\r\n");
    const QString pagePath = previewFolder + u'/' + pageFileName();
    if (QString error = FileWriter::writeWhole(pagePath, bytes); !error.isEmpty())
        return fail(previewFolder, error);
    return pagePath;
}
