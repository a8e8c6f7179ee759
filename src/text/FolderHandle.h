#pragma once

#include "text/Result.h"

#include <QByteArray>
#include <QString>
#include <optional>

// A folder held open by its descriptor. Every operation names an entry of
// this very folder, so work begun in it stays in it even when its path is
// moved away or replaced by a link meanwhile. Links inside the folder are
// never followed: a link where a file is written is replaced by the file,
// not written through.
class FolderHandle {
public:
    // Whether the folder at a path may itself be a link. Links on the way to
    // it are followed either way: they are part of the path the user chose.
    enum class LastLink { Follow, Refuse };

    static Result<FolderHandle> open(const QString& path, LastLink lastLink);

    FolderHandle(FolderHandle&& other) noexcept;
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    ~FolderHandle();

    // The entry's path as the folder was opened, for messages.
    QString filePath(const QString& name) const { return m_path + u'/' + name; }

    // Whether anything, a dangling link too, has the name in the folder.
    bool holds(const QString& name) const;

    // Makes a new sub-folder and opens it; fails when the name is taken.
    Result<FolderHandle> makeFolder(const QString& name) const;

    // Fails, naming the entry, unless the name is free or holds a regular
    // file or a link: a folder or a device is never replaced by a file.
    Status checkReplaceable(const QString& name) const;

    // Makes the name a regular file holding bytes, whole or not at all: the
    // bytes go to a new hidden file in the folder, which gets the permission
    // bits of the file it replaces and is then renamed over it. Nothing is
    // flushed to disk; this is for files that can be made again.
    Status replaceFile(const QString& name, const QByteArray& bytes) const;

    // Moves the entry into target under the same name.
    Status moveInto(const QString& name, const FolderHandle& target) const;

    // Renames an entry only if the new name is free, in one step: 0, or the
    // errno of the failure (EEXIST when the name is taken; EINVAL or ENOSYS
    // where the file system or the kernel cannot rename that way).
    int renameWithoutReplacing(const QString& from, const QString& to) const;

    // For cleaning up after a failure: what cannot be removed stays.
    void removeFile(const QString& name) const;
    void removeEmptyFolder(const QString& name) const;

private:
    FolderHandle(int descriptor, QString path);

    // The permission bits that a file replacing the name keeps: those of
    // the regular file there, none for a free name or a link.
    Result<std::optional<unsigned>> keptMode(const QString& name) const;

    // A new hidden file in the folder holding bytes, closed, or why not; a
    // failure removes it again.
    Result<QByteArray> writeTemporaryFile(const QString& name, const QByteArray& bytes,
                                          std::optional<unsigned> mode) const;

    int m_descriptor = -1;
    QString m_path;
};
