#pragma once

#include "project/DocumentInfo.h"
#include "project/QAEntryTable.h"

// Everything a project file holds: the document information and the entries.
struct Project {
    DocumentInfo document;
    QAEntryTable entries;

    friend bool operator==(const Project&, const Project&) = default;
};
