#pragma once

#include "app/FileStamp.h"
#include "project/Project.h"

#include <QString>

// The state of one running window program: the project being edited, where
// it was last saved, and the fields that hand an entry between the main
// window and the entry dialog. Whether the project has unsaved changes is
// the undo history's to say (ProjectHistory::DataChanged). One instance per program, passed by
// reference to whatever needs it; there are no globals. The windows change the project only through
// a ProjectModel over it, which announces every change.
struct MApp {
    Project project;

    QString CurrentFilePath;
    // The file's name without its folder, shown in the window caption.
    QString CurrentFileTitle;
    // What the file held when it was last read or written here, so that a
    // save notices another program's change.
    FileStamp CurrentFileStamp;
    // The folder the last HTML export of this project wrote; empty when none
    // is known.
    QString LastExportFolder;

    QString EditQuestion;
    QString EditAnswer;
    // Before the entry dialog opens: open in edit mode. After: accepted.
    bool EditAccepted = false;
    bool EditEnabled = false;

    bool DocumentViewOpen = false;

    DocumentInfo& document() { return project.document; }
    const DocumentInfo& document() const { return project.document; }
    QAEntryTable& entries() { return project.entries; }
    const QAEntryTable& entries() const { return project.entries; }
};
