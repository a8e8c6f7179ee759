#include "app/RecoveryStore.h"

#include "text/FileWriter.h"
#include "text/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <algorithm>

namespace {

QString copySuffix() {
    return QStringLiteral(".recovery");
}

QString idOf(const QString& copyFile) {
    return QFileInfo(copyFile).completeBaseName();
}

} // namespace

RecoveryStore::RecoveryStore(QString folder)
    : m_folder(std::move(folder)) {}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::defaultFolder() {
    const QString tail = QStringLiteral("/brindlewick/recovery");
    if (QStandardPaths::isTestModeEnabled())
        return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
               QStringLiteral("/state") + tail;
    QString stateHome = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(stateHome))
        stateHome = QDir::homePath() + QStringLiteral("/.local/state");
    return stateHome + tail;
}

QString RecoveryStore::copyFile(const QString& id) const {
    return m_folder + u'/' + id + copySuffix();
}

QString RecoveryStore::lockFile(const QString& id) const {
    return m_folder + u'/' + id + QStringLiteral(".lock");
}

Status RecoveryStore::open() {
    if (m_ownLock)
        return {};
    if (!QDir().mkpath(m_folder))
        return Failure{QStringLiteral("フォルダ「%1」を作成できません。").arg(m_folder)};
    const QString id = QStringLiteral("%1-%2")
                           .arg(QCoreApplication::applicationPid())
                           .arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0'));
    auto lock = std::make_unique<QLockFile>(lockFile(id));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return Failure{QStringLiteral("「%1」を作成できません。").arg(lockFile(id))};
    m_id = id;
    m_ownLock = std::move(lock);
    return {};
}

Status RecoveryStore::write(const QByteArray& copy) const {
    if (!m_ownLock)
        return Failure{QStringLiteral("復元用のフォルダを使えません。")};
    return FileWriter::replaceAtomically(copyFile(m_id), copy);
}

void RecoveryStore::remove() const {
    if (m_ownLock)
        QFile::remove(copyFile(m_id));
}

QStringList RecoveryStore::claimLeftCopies() {
    const QDir folder(m_folder);
    QFileInfoList copies = folder.entryInfoList({u'*' + copySuffix()}, QDir::Files | QDir::Hidden);
    std::sort(copies.begin(), copies.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.lastModified() < b.lastModified();
    });
    QStringList claimed;
    for (const QFileInfo& copy : copies) {
        const QString id = idOf(copy.filePath());
        if (id == m_id || m_claimed.contains(copy.filePath()))
            continue;
        auto lock = std::make_unique<QLockFile>(lockFile(id));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue;
        m_claimed.emplace(copy.filePath(), std::move(lock));
        claimed.append(copy.filePath());
    }
    return claimed;
}

Result<RecoveryCopy> RecoveryStore::read(const QString& copyFile) {
    const Result<QByteArray> bytes = TextFile::readRegularFileBytes(copyFile);
    if (!bytes)
        return bytes.failure();
    return RecoveryCopy::decode(*bytes);
}

void RecoveryStore::adopt(const QString& copyFile) {
    if (m_ownLock && QFile::exists(copyFile)) {
        QFile::remove(this->copyFile(m_id));
        QFile::rename(copyFile, this->copyFile(m_id));
    }
    release(copyFile);
}

void RecoveryStore::discard(const QString& copyFile) {
    QFile::remove(copyFile);
    release(copyFile);
}

void RecoveryStore::releaseClaims() {
    m_claimed.clear();
}

void RecoveryStore::release(const QString& copyFile) {
    // Unlocking removes the lock file the claim wrote.
    m_claimed.erase(copyFile);
}
