#include "design/DesignCatalog.h"

#include "design/DesignList.h"

Result<QList<DesignCatalog::Design>> DesignCatalog::read(const QString& designRoot) {
    const Result<QStringList> names = DesignList::folderNames(designRoot);
    if (!names)
        return Failure{names.error()};
    const DesignLocation designs(designRoot);
    QList<Design> found;
    for (const QString& name : *names) {
        const Result<QString> folder = designs.folder(name);
        // A design that leads out of the root is no design of this program.
        if (!folder)
            continue;
        Result<Procode> procode = Procode::read(designs, *folder);
        if (!procode)
            return Failure{procode.error()};
        found.append(Design{name, std::move(*procode)});
    }
    return found;
}
