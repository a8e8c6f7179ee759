#pragma once

#include "app/DocumentInfo.h"
#include "app/QAEntryTable.h"

// Everything a project file holds: the document information and the entries.
struct BwkProject {
    DocumentInfo document;
    QAEntryTable entries;

    friend bool operator==(const BwkProject&, const BwkProject&) = default;
};
