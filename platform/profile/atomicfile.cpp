// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profile/atomicfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The file a path finally names once symbolic links are followed, even when that file does not
// exist yet. Relative link targets are taken relative to the link's folder.
QString resolveLinks(const QString &path)
{
    QByteArray current = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status = {};
        if (::lstat(current.constData(), &status) != 0 || !S_ISLNK(status.st_mode))
            return QFile::decodeName(current);
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(current.constData(), target.data(), size_t(target.size()));
        if (length < 0 || length >= target.size())
            return {};
        target.truncate(length);
        if (!target.startsWith('/'))
            target = current.left(current.lastIndexOf('/') + 1) + target;
        current = target;
    }
    return {}; // a loop of links
}

bool writeAll(int fd, QByteArrayView contents)
{
    const char *p = contents.data();
    qsizetype left = contents.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes over the file itself. Reserving the new size first means a full disk is found before
// any byte of the old contents is overwritten.
bool writeInPlace(const QByteArray &target, QByteArrayView contents)
{
    const int fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = contents.isEmpty() || ::posix_fallocate(fd, 0, off_t(contents.size())) == 0;
    ok = ok && writeAll(fd, contents) && ::ftruncate(fd, off_t(contents.size())) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

// Removes what saves killed before their rename left beside the file: ".NAME.XXXXXX". A live
// writer holds a lock on its temporary file from just after making it, and a file younger than
// a minute is left alone, which covers the moment between the two.
void removeStaleTemporaries(const QByteArray &folder, const QByteArray &name)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const QByteArray prefix = '.' + name + '.';
    const time_t now = ::time(nullptr);
    // A bound on the walk, so a folder of millions of files cannot hold the save up for long.
    int entries = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (++entries > 100000)
            break;
        const QByteArrayView entryName(entry->d_name);
        if (entryName.size() != prefix.size() + 6 || !entryName.startsWith(prefix))
            continue;
        const int fd = ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat status = {};
        struct stat named = {};
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && now - status.st_mtime > 60
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0
            && ::fstatat(::dirfd(dir), entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0
            && named.st_ino == status.st_ino && named.st_dev == status.st_dev)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

} // namespace

bool writeFileAtomically(const QString &path, QByteArrayView contents)
{
    const QString resolved = resolveLinks(path);
    if (resolved.isEmpty())
        return false;
    const QFileInfo info(resolved);
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(info.absolutePath());

    struct stat existing = {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
        return false;
    // A read-only file is not replaced, even in a folder that would allow it: the user made it
    // so to keep it. Without any write bit it counts as read-only for the superuser too.
    if (exists && ((existing.st_mode & 0222) == 0 || ::access(target.constData(), W_OK) != 0))
        return false;

    QByteArray temporary = folder + "/." + QFile::encodeName(info.fileName()) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        if (exists && (errno == EACCES || errno == EPERM))
            return writeInPlace(target, contents);
        return false;
    }

    ::flock(fd, LOCK_EX | LOCK_NB); // marks it live for the clean-up of other saves
    removeStaleTemporaries(folder, QFile::encodeName(info.fileName()));

    mode_t mode;
    if (exists) {
        mode = existing.st_mode & 07777;
        // Only a privileged process may give the file away; for others this fails harmlessly.
        if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) { }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, contents) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.constData(), target.constData()) == 0;
    if (!ok) {
        ::unlink(temporary.constData());
        return false;
    }
    syncFolder(folder);
    return true;
}

} // namespace platform
