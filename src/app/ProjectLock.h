#pragma once

#include <QString>
#include <memory>

class QLockFile;

// Marks the project file a window has open, so that another window of the
// program opening the same file can warn the user before two windows save
// over each other. The marks live in a folder of the user's own (never
// beside the project: project folders are shared with other machines), and
// a mark left by a process that has ended counts for nothing.
class ProjectLock {
public:
    explicit ProjectLock(QString folder);
    ~ProjectLock();
    ProjectLock(const ProjectLock&) = delete;
    ProjectLock& operator=(const ProjectLock&) = delete;

    // The user's runtime folder, which ends with the session; the cache
    // where there is none, and a folder of Qt's test area while tests run.
    static QString defaultFolder();

    static QString openedQuestion() {
        return QStringLiteral("「%1」は、別のウィンドウで開かれています。開きますか？");
    }

    // Whether another running window has the file at path open.
    bool heldElsewhere(const QString& path) const;
    // Marks the file at path as open here, in place of the one marked
    // before; when another window holds it, this one simply does not.
    void take(const QString& path);
    void release();

private:
    QString lockFileFor(const QString& path) const;

    QString m_folder;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
