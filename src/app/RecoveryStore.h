#pragma once

#include "app/RecoveryCopy.h"
#include "text/Result.h"

#include <QString>
#include <QStringList>
#include <map>
#include <memory>

class QLockFile;

// The recovery copies of the program's windows, one file each in a folder of
// the user's state. A window holds a lock beside its copy for as long as it
// runs, so a copy whose lock can be taken was left by a window that ended
// without saving: by a crash, a kill or a power cut.
class RecoveryStore {
public:
    explicit RecoveryStore(QString folder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // $XDG_STATE_HOME/brindlewick/recovery (~/.local/state/...); a folder of
    // Qt's test area while tests run.
    static QString defaultFolder();

    static QString restoreQuestion() {
        return QStringLiteral("前回、保存されずに終了したプロジェクトがあります。復元しますか？");
    }

    // Takes this window's place in the folder; until then there is no copy
    // to write.
    Status open();
    bool isOpen() const { return m_ownLock != nullptr; }

    // Replaces this window's copy, whole or not at all. Touches nothing but
    // its own file, so a worker thread may call it while the window runs.
    Status write(const QByteArray& copy) const;
    void remove() const;

    // Copies left by windows that have ended, oldest first. Each stays held
    // by this store until it is adopted or discarded, so a window starting
    // meanwhile does not offer it as well.
    QStringList claimLeftCopies();
    static Result<RecoveryCopy> read(const QString& copyFile);
    // The left copy becomes this window's own: it stays on disk until the
    // restored project is saved or its changes are discarded.
    void adopt(const QString& copyFile);
    void discard(const QString& copyFile);
    // Lets the copies still claimed go to the next window that starts.
    void releaseClaims();

private:
    QString copyFile(const QString& id) const;
    QString lockFile(const QString& id) const;
    void release(const QString& copyFile);

    QString m_folder;
    QString m_id;
    std::unique_ptr<QLockFile> m_ownLock;
    std::map<QString, std::unique_ptr<QLockFile>> m_claimed;
};
