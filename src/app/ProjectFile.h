#pragma once

#include "app/FileStamp.h"

#include <QString>

// The file the project in memory belongs to: where it was read or last
// saved, its name as the caption shows it, and what it held then. All empty
// while the project has never been saved. The file commands keep it and
// alone change it; the window and the recovery copy read it.
struct ProjectFile {
    QString path;
    // The file's name without its folder, shown in the window caption.
    QString title;
    // What the file held when it was last read or written here, so that a
    // save notices another program's change.
    FileStamp stamp;
};
