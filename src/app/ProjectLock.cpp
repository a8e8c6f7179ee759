#include "app/ProjectLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace {

// The same file reached by another path (a link, "a/../b") is the same
// project.
QString identityOf(const QString& path) {
    const QFileInfo file(path);
    const QString canonical = file.canonicalFilePath();
    return canonical.isEmpty() ? file.absoluteFilePath() : canonical;
}

} // namespace

ProjectLock::ProjectLock(QString folder)
    : m_folder(std::move(folder)) {}

ProjectLock::~ProjectLock() = default;

QString ProjectLock::defaultFolder() {
    const QString tail = QStringLiteral("/brindlewick/open");
    const QString runtime = QStandardPaths::isTestModeEnabled()
                                ? QString()
                                : QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + tail;
    return runtime + tail;
}

QString ProjectLock::lockFileFor(const QString& path) const {
    const QByteArray key =
        QCryptographicHash::hash(identityOf(path).toUtf8(), QCryptographicHash::Sha1).toHex();
    return m_folder + u'/' + QString::fromLatin1(key) + QStringLiteral(".lock");
}

bool ProjectLock::heldElsewhere(const QString& path) const {
    if (m_lock && identityOf(path) == identityOf(m_path))
        return false;
    QLockFile probe(lockFileFor(path));
    probe.setStaleLockTime(0);
    if (probe.tryLock(0)) {
        probe.unlock();
        return false;
    }
    return probe.error() == QLockFile::LockFailedError;
}

void ProjectLock::take(const QString& path) {
    if (m_lock && identityOf(path) == identityOf(m_path))
        return;
    release();
    if (!QDir().mkpath(m_folder))
        return;
    auto lock = std::make_unique<QLockFile>(lockFileFor(path));
    // Only a mark whose process has gone is stale, however old it is.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return;
    m_lock = std::move(lock);
    m_path = path;
}

void ProjectLock::release() {
    m_lock.reset();
    m_path.clear();
}
