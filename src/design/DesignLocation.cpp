#include "design/DesignLocation.h"

namespace {

bool isPlainComponent(QStringView name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0));
}

} // namespace

Result<QString> DesignLocation::folder(const ProgramFolder& program, const QString& folderName) {
    if (!isPlainComponent(folderName))
        return outside(folderName);
    return program.designRoot() + u'/' + folderName;
}

Result<QString> DesignLocation::designFile(const ProgramFolder& program,
                                           const QString& documentCode) {
    QString path = program.designRoot();
    // Windows accepts both separators, so a stored path may use either.
    for (QStringView component : QStringView(documentCode).tokenize(u'\\')) {
        for (QStringView part : component.tokenize(u'/')) {
            if (!isPlainComponent(part))
                return outside(documentCode);
            path += u'/';
            path += part;
        }
    }
    if (path.size() == program.designRoot().size())
        return outside(documentCode);
    return path;
}

Failure DesignLocation::outside(const QString& value) {
    return Failure{QStringLiteral(
               "デザインの指定「%1」はデザインフォルダ（doc_code）の中を指していません。")
        .arg(value)};
}
