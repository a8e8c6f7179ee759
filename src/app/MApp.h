#pragma once

#include "app/DocumentInfo.h"
#include "app/QAEntryTable.h"

#include <QString>

// The state of one running program: the project being edited (document
// information and entries), where it was last saved, the fields that hand an
// entry between the main window and the entry dialog, and the working
// counters of the template engine. One instance per program, passed by
// reference to whatever needs it; there are no globals.
struct MApp : DocumentInfo {
    bool DataChanged = false;
    QString CurrentFilePath;
    // The file's name without its folder, shown in the window caption.
    QString CurrentFileTitle;

    QString EditQuestion;
    QString EditAnswer;
    // Before the entry dialog opens: open in edit mode. After: accepted.
    bool EditAccepted = false;
    bool EditEnabled = false;

    // Working counters of the template engine.
    int EntryCount = 0;
    int SelectedEntry = 0;

    bool DocumentViewOpen = false;

    QAEntryTable entries;

    DocumentInfo& document() { return *this; }
    const DocumentInfo& document() const { return *this; }
};
