#include "design/Procode.h"

#include "app/TextFile.h"

std::optional<Procode> Procode::parse(QStringView text) {
    LineReader lines(text);
    Procode procode;
    if (lines.atEnd())
        return std::nullopt;
    procode.displayName = lines.readLine().toString();
    if (lines.atEnd())
        return std::nullopt;
    procode.designBaseName = lines.readLine().toString();
    procode.hasDescription = !lines.atEnd();
    if (procode.hasDescription)
        procode.description = lines.readLine().toString();
    return procode;
}

std::optional<Procode> Procode::read(const QString& designFolder, QString* error) {
    const QString path = designFolder + u'/' + fileName();
    const std::optional<QString> text = TextFile::read(path, error);
    if (!text)
        return std::nullopt;
    std::optional<Procode> procode = parse(*text);
    if (!procode && error)
        *error = QStringLiteral("「%1」には表示名とデザインファイル名の2行が必要です。").arg(path);
    return procode;
}
