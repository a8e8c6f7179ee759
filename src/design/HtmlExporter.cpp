#include "design/HtmlExporter.h"

#include "app/Cp932Codec.h"
#include "app/FileWriter.h"
#include "design/DesignCopier.h"
#include "design/DesignLocation.h"
#include "design/WrepClass.h"

#include <QDir>
#include <QFileInfo>

HtmlExporter::HtmlExporter(MApp& app, ProgramFolder program)
    : m_app(app)
    , m_program(std::move(program)) {}

std::optional<QString> HtmlExporter::fail(const QString& message) {
    m_error = message;
    return std::nullopt;
}

std::optional<QString> HtmlExporter::render() {
    m_error.clear();
    if (!m_app.isCompleteForPage())
        return fail(incompleteMessage());
    WrepClass engine(m_app, m_program);
    if (!engine.ddc_datacode())
        return fail(engine.errorString());
    return engine.sorce();
}

std::optional<QString> HtmlExporter::write(const QString& page, const QString& outputPath) {
    m_error.clear();
    const std::optional<QString> designFolder =
        DesignLocation::folder(m_program, m_app.DocumentCodeFolder);
    if (!designFolder)
        return fail(DesignLocation::outsideMessage(m_app.DocumentCodeFolder));

    const QFileInfo output(QDir::cleanPath(outputPath));
    if (output.exists() || output.isSymLink())
        return fail(
            QStringLiteral("「%1」は既にあります。html出力には新しいフォルダ名を指定してください。")
                .arg(output.filePath()));
    if (!QDir().mkdir(output.filePath()))
        return fail(QStringLiteral("フォルダ「%1」を作成できません。").arg(output.filePath()));

    // From here on the folder is ours: whatever fails removes it again.
    const auto abandon = [&](const QString& message) {
        QDir(output.filePath()).removeRecursively();
        return fail(message);
    };

    if (const QString error = DesignCopier::copy(*designFolder, output.filePath());
        !error.isEmpty())
        return abandon(error);

    const QString pagePath = output.filePath() + u'/' + output.fileName() + QStringLiteral(".html");
    QByteArray bytes;
    Cp932Codec::encodeForHtml(page, bytes);
    bytes.append("\r\n");
    if (const QString error = FileWriter::writeWhole(pagePath, bytes); !error.isEmpty())
        return abandon(error);
    return pagePath;
}
