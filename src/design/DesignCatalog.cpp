#include "design/DesignCatalog.h"

#include "design/DesignList.h"

Result<QList<DesignCatalog::Design>> DesignCatalog::read(const QString& designRoot) {
    const Result<QStringList> names = DesignList::folderNames(designRoot);
    if (!names)
        return Failure{names.error()};
    QList<Design> designs;
    for (const QString& name : *names) {
        Result<Procode> procode = Procode::read(designRoot + u'/' + name);
        if (!procode)
            return Failure{procode.error()};
        designs.append(Design{name, std::move(*procode)});
    }
    return designs;
}
