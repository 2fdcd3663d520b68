// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/posix/posixseam.h"

#include "settings/posix/cp932.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace settings::posix {

namespace {

constexpr char appFolder[] = "pomvale";

// The file a path finally names once symbolic links are followed, even when that file does not
// exist yet. Relative link targets are taken relative to the link's folder.
Path resolveLinks(const Path &path)
{
    std::error_code error;
    std::string current = std::filesystem::absolute(path, error).native();
    if (error)
        return {};
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status = {};
        if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return Path(current);
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length < 0 || std::size_t(length) >= target.size())
            return {};
        target.resize(std::size_t(length));
        if (!target.starts_with('/'))
            target.insert(0, current, 0, current.rfind('/') + 1);
        current = target;
    }
    return {}; // a loop of links
}

bool writeAll(int fd, std::string_view bytes)
{
    const char *p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= std::size_t(n);
    }
    return true;
}

void syncFolder(const std::string &folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Removes what saves killed before their rename left beside the file: ".NAME.XXXXXX". A live
// writer holds a lock on its temporary file from just after making it, and a file younger than
// a minute is left alone, which covers the moment between the two.
void removeStaleTemporaries(const std::string &folder, const std::string &name)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const std::string prefix = '.' + name + '.';
    const time_t now = ::time(nullptr);
    // A bound on the walk, so a folder of millions of files cannot hold the save up for long.
    int entries = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (++entries > 100000)
            break;
        const std::string_view entryName(entry->d_name);
        if (entryName.size() != prefix.size() + 6 || !entryName.starts_with(prefix))
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

// Asks for huge pages under a large buffer not yet touched: a file of tens of megabytes then costs
// a few dozen page faults instead of thousands, which is most of the time of its read.
void preferHugePages(char *buffer, std::size_t size)
{
    constexpr std::size_t hugePage = 2 * 1024 * 1024;
    if (size < 4 * hugePage)
        return;
    const std::size_t misalignment = reinterpret_cast<std::uintptr_t>(buffer) % hugePage;
    const std::size_t skip = misalignment == 0 ? 0 : hugePage - misalignment;
    const std::size_t length = (size - skip) / hugePage * hugePage;
    ::madvise(buffer + skip, length, MADV_HUGEPAGE); // a hint: failure is harmless
}

// An absolute folder from the environment, or nothing: relative ones are invalid and ignored, as
// the base-directory rules say.
std::string absoluteFromEnvironment(const char *name)
{
    const char *value = std::getenv(name);
    return value && value[0] == '/' ? std::string(value) : std::string();
}

std::string homeFolder()
{
    if (const char *home = std::getenv("HOME"); home && home[0] == '/')
        return home;
    if (const passwd *entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return {};
}

} // namespace

Path runningExecutableFolder()
{
    std::string link(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", link.data(), link.size());
    if (length <= 0 || std::size_t(length) >= link.size() || link[0] != '/')
        return {};
    link.resize(std::size_t(length));
    constexpr std::string_view deleted(" (deleted)");
    struct stat status = {};
    if (link.ends_with(deleted) && ::lstat(link.c_str(), &status) != 0)
        link.resize(link.size() - deleted.size());
    const std::size_t slash = link.rfind('/');
    return Path(link.substr(0, std::max<std::size_t>(slash, 1)));
}

Path PosixSeam::executableFolder() const
{
    // Found once, at the first call of the program's start: an upgrade may replace the file later.
    static const Path folder = runningExecutableFolder();
    return folder;
}

Path PosixSeam::perUserFolder() const
{
    std::string config = absoluteFromEnvironment("XDG_CONFIG_HOME");
    if (config.empty()) {
        const std::string home = homeFolder();
        if (home.empty())
            return {};
        config = home + "/.config";
    }
    return Path(config) / appFolder;
}

Path PosixSeam::defaultsFolder() const
{
    std::string first = "/etc/xdg";
    if (const char *dirs = std::getenv("XDG_CONFIG_DIRS")) {
        const std::string_view all(dirs);
        for (std::size_t begin = 0; begin <= all.size();) {
            const std::size_t end = std::min(all.find(':', begin), all.size());
            if (end > begin && all[begin] == '/') {
                first = all.substr(begin, end - begin);
                break;
            }
            begin = end + 1;
        }
    }
    return Path(first) / appFolder;
}

// Files under /usr are the package manager's: what a program writes there no package owns, and a
// file root left there would become every user's defaults.
bool PosixSeam::isPackageFolder(const Path &folder) const
{
    const std::string clean = folder.lexically_normal().native();
    return clean == "/usr" || clean == "/usr/" || clean.starts_with("/usr/");
}

bool PosixSeam::folderWritable(const Path &folder) const
{
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool PosixSeam::fileWritable(const Path &file) const
{
    // Without any write bit a file counts as read-only for the superuser too.
    struct stat status = {};
    return ::stat(file.c_str(), &status) == 0 && (status.st_mode & 0222) != 0
        && ::access(file.c_str(), W_OK) == 0;
}

bool PosixSeam::isRegularFile(const Path &file) const
{
    struct stat status = {};
    return !file.empty() && ::stat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool PosixSeam::makeFolder(const Path &folder) const
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

FileRead PosixSeam::readFile(const Path &file, std::size_t maxSize) const
{
    FileRead result;
    // Opened without waiting, and its type checked on what was opened: a FIFO would block the
    // open, and a device (also through a link) would never end. Only a regular file is a file.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        result.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
        return result;
    }
    result.status = ReadStatus::Failed;
    struct stat status = {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && std::size_t(status.st_size) <= maxSize) {
        // Read to the end rather than trusting the size, which may have changed since, but never
        // past the limit.
        std::string &bytes = result.bytes;
        // Room for a save's edit, so that a large file is not moved to fresh memory for it.
        bytes.reserve(std::size_t(status.st_size) + 64 * 1024);
        preferHugePages(bytes.data(), bytes.capacity());
        bytes.resize(std::size_t(status.st_size) + 1);
        std::size_t got = 0;
        for (;;) {
            if (got == bytes.size()) {
                if (got > maxSize)
                    break;
                bytes.resize(std::min(got * 2 + 4096, maxSize + 1));
            }
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n == 0)
                    result.status = ReadStatus::Ok;
                break;
            }
            got += std::size_t(n);
        }
        bytes.resize(got);
    }
    ::close(fd);
    if (result.status != ReadStatus::Ok)
        result.bytes.clear();
    return result;
}

ReplaceStatus PosixSeam::replaceFile(const Path &file, std::string_view bytes) const
{
    // A symbolic link is followed to its target, which is replaced; the link stays.
    const Path resolved = resolveLinks(file);
    if (resolved.empty())
        return ReplaceStatus::Failed;
    const std::string &target = resolved.native();
    const std::string folder = resolved.parent_path().native();
    const std::string name = resolved.filename().native();

    struct stat existing = {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
        return ReplaceStatus::Failed;
    // A read-only file is not replaced, even in a folder that would allow it: the user made it
    // so to keep it.
    if (exists && !fileWritable(resolved))
        return ReplaceStatus::Failed;

    // The program's own name pattern: nothing else in the folder is ever taken for one.
    std::string temporary = folder + "/." + name + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return exists && (errno == EACCES || errno == EPERM || errno == EROFS) ? ReplaceStatus::NoTemporary
                                                                               : ReplaceStatus::Failed;

    ::flock(fd, LOCK_EX | LOCK_NB); // marks it live for the clean-up of other saves
    removeStaleTemporaries(folder, name);

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
    // The new file reaches the disk before it takes the old one's name: a cut at any moment
    // leaves the old file or the new one, whole.
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return ReplaceStatus::Failed;
    }
    syncFolder(folder);
    return ReplaceStatus::Replaced;
}

bool PosixSeam::writeInPlace(const Path &file, std::string_view bytes) const
{
    // Reserving the new size first means a full disk is found before any byte of the old
    // contents is overwritten; a crash in the middle of the write can still tear the file.
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = bytes.empty() || ::posix_fallocate(fd, 0, off_t(bytes.size())) == 0;
    ok = ok && writeAll(fd, bytes) && ::ftruncate(fd, off_t(bytes.size())) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

bool PosixSeam::isLeadByte(unsigned char byte) const
{
    return isCp932LeadByte(byte);
}

std::optional<std::u16string> PosixSeam::decode(std::string_view bytes, bool lossy) const
{
    return decodeCp932(bytes, lossy);
}

std::optional<std::string> PosixSeam::encode(std::u16string_view text) const
{
    return encodeCp932(text);
}

} // namespace settings::posix

namespace settings {

Seam &platformSeam()
{
    static posix::PosixSeam seam;
    return seam;
}

} // namespace settings
