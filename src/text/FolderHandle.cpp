#include "text/FolderHandle.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

QByteArray encoded(const QString& name) {
    return QFile::encodeName(name);
}

QString reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Creates a new file under a hidden name in the folder, never opening one
// that exists; gives its descriptor and name, or -1 with errno set.
int createHiddenFile(int folder, QByteArray& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = QByteArray(".brindlewick-") +
               QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".part";
        const int file = ::openat(folder, name.constData(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (file >= 0 || errno != EEXIST)
            return file;
    }
    return -1;
}

// Whether every byte arrived; errno tells why not.
bool writeAll(int file, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(file, data, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

} // namespace

FolderHandle::FolderHandle(int descriptor, QString path)
    : m_descriptor(descriptor)
    , m_path(std::move(path)) {}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1))
    , m_path(std::move(other.m_path)) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
    std::swap(m_descriptor, other.m_descriptor);
    std::swap(m_path, other.m_path);
    return *this;
}

FolderHandle::~FolderHandle() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

Result<FolderHandle> FolderHandle::open(const QString& path, LastLink lastLink) {
    int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    if (lastLink == LastLink::Refuse)
        flags |= O_NOFOLLOW;
    const int descriptor = ::open(encoded(path).constData(), flags);
    if (descriptor < 0)
        return Failure{QStringLiteral("フォルダ「%1」を開けません（%2）").arg(path, reason(errno))};
    return FolderHandle(descriptor, path);
}

bool FolderHandle::holds(const QString& name) const {
    struct stat entry {};
    return ::fstatat(m_descriptor, encoded(name).constData(), &entry, AT_SYMLINK_NOFOLLOW) == 0;
}

Result<FolderHandle> FolderHandle::makeFolder(const QString& name) const {
    const QByteArray entry = encoded(name);
    if (::mkdirat(m_descriptor, entry.constData(), 0777) != 0)
        return Failure{QStringLiteral("フォルダ「%1」を作成できません（%2）")
                           .arg(filePath(name), reason(errno))};
    const int descriptor =
        ::openat(m_descriptor, entry.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        const int error = errno;
        removeEmptyFolder(name);
        return Failure{
            QStringLiteral("フォルダ「%1」を開けません（%2）").arg(filePath(name), reason(error))};
    }
    return FolderHandle(descriptor, filePath(name));
}

Result<std::optional<unsigned>> FolderHandle::keptMode(const QString& name) const {
    struct stat old {};
    if (::fstatat(m_descriptor, encoded(name).constData(), &old, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT)
            return std::optional<unsigned>();
        return Failure{
            QStringLiteral("「%1」を調べられません（%2）").arg(filePath(name), reason(errno))};
    }
    if (S_ISREG(old.st_mode))
        return std::optional<unsigned>(old.st_mode & 0777);
    if (S_ISLNK(old.st_mode))
        return std::optional<unsigned>();
    return Failure{
        QStringLiteral("「%1」はフォルダか特殊なファイルのため、ファイルで置き換えられません。")
            .arg(filePath(name))};
}

Status FolderHandle::checkReplaceable(const QString& name) const {
    if (const Result<std::optional<unsigned>> mode = keptMode(name); !mode)
        return mode.failure();
    return {};
}

Result<QByteArray> FolderHandle::writeTemporaryFile(const QString& name, const QByteArray& bytes,
                                                    std::optional<unsigned> mode) const {
    QByteArray temporary;
    const int file = createHiddenFile(m_descriptor, temporary);
    if (file < 0)
        return Failure{
            QStringLiteral("「%1」を作成できません（%2）").arg(filePath(name), reason(errno))};
    const bool permitted = !mode || ::fchmod(file, *mode) == 0;
    const int chmodError = errno;
    // The file system may report a write that did not arrive only on close.
    const bool whole = permitted && writeAll(file, bytes);
    const bool closed = ::close(file) == 0;
    if (permitted && whole && closed)
        return temporary;
    ::unlinkat(m_descriptor, temporary.constData(), 0);
    if (!permitted)
        return Failure{QStringLiteral("「%1」の権限を設定できません（%2）")
                           .arg(filePath(name), reason(chmodError))};
    return Failure{
        QStringLiteral("「%1」を最後まで書き込めません（ディスクの空きが足りない可能性があります）")
            .arg(filePath(name))};
}

Status FolderHandle::replaceFile(const QString& name, const QByteArray& bytes) const {
    const Result<std::optional<unsigned>> mode = keptMode(name);
    if (!mode)
        return mode.failure();
    const Result<QByteArray> temporary = writeTemporaryFile(name, bytes, *mode);
    if (!temporary)
        return temporary.failure();
    if (::renameat(m_descriptor, temporary->constData(), m_descriptor, encoded(name).constData()) !=
        0) {
        const int error = errno;
        ::unlinkat(m_descriptor, temporary->constData(), 0);
        return Failure{
            QStringLiteral("「%1」を置き換えられません（%2）").arg(filePath(name), reason(error))};
    }
    return {};
}

Status FolderHandle::moveInto(const QString& name, const FolderHandle& target) const {
    const QByteArray entry = encoded(name);
    if (::renameat(m_descriptor, entry.constData(), target.m_descriptor, entry.constData()) != 0)
        return Failure{QStringLiteral("「%1」を「%2」へ移動できません（%3）")
                           .arg(filePath(name), target.m_path, reason(errno))};
    return {};
}

int FolderHandle::renameWithoutReplacing(const QString& from, const QString& to) const {
    if (::renameat2(m_descriptor, encoded(from).constData(), m_descriptor, encoded(to).constData(),
                    RENAME_NOREPLACE) == 0)
        return 0;
    return errno;
}

void FolderHandle::removeFile(const QString& name) const {
    ::unlinkat(m_descriptor, encoded(name).constData(), 0);
}

void FolderHandle::removeEmptyFolder(const QString& name) const {
    ::unlinkat(m_descriptor, encoded(name).constData(), AT_REMOVEDIR);
}
