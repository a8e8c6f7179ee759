#include "design/DesignCatalog.h"

#include "app/TextFile.h"
#include "design/DesignList.h"
#include "design/Procode.h"

std::optional<QList<DesignCatalog::Design>> DesignCatalog::read(const QString& designRoot) {
    const std::optional<QStringList> names = DesignList::folderNames(designRoot);
    if (!names)
        return std::nullopt;
    QList<Design> designs;
    for (const QString& name : *names) {
        const std::optional<QString> text =
            TextFile::read(designRoot + u'/' + name + u'/' + Procode::fileName(), nullptr);
        if (!text)
            return std::nullopt;
        Design design{name, {}};
        LineReader lines(*text);
        while (!lines.atEnd() && design.procodeLines.size() < 3)
            design.procodeLines.append(lines.readLine().toString());
        designs.append(design);
    }
    return designs;
}
