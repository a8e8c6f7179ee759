#pragma once

#include "app/FileStamp.h"
#include "project/Project.h"
#include "text/Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// What a window keeps of an unsaved project in case it ends without saving:
// the project as the bytes of its file, the file it belongs to and what was
// known of that file, and when the copy was made.
struct RecoveryCopy {
    Project project;
    // Empty for a project that has never been saved.
    QString projectPath;
    FileStamp stamp;
    QDateTime madeAt;

    // The copy as one file: a line naming the format, a line of JSON with
    // the path, stamp and time, then the project file's bytes.
    Result<QByteArray> encode() const;
    static Result<RecoveryCopy> decode(const QByteArray& bytes);
};
