// SPDX-License-Identifier: GPL-3.0-or-later
// A power cut at exit, for LD_PRELOAD into one writer process. A killed process leaves the page
// cache to the kernel, which writes it out anyway; a power cut loses whatever was not synced.
// This library keeps the bookkeeping that a disk would and, when the process exits, undoes what a
// power cut would have lost:
//   - a file's data written since its last fsync reverts to what it held at that fsync (or before
//     the first write this process made to it);
//   - a rename not followed by an fsync of the target's folder reverts: the new name names the
//     file it named before, or nothing.
// With POWERCUT_IGNORE_SYNCS set, syncs count for nothing: a test can see that the cut is real.
// It follows write, ftruncate and posix_fallocate (the calls that change a file's data), rename,
// and fsync/fdatasync of files and folders; that is all the settings writer uses.
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

template<typename F> F real(const char *name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

// The C library's own calls, for the hooks below and for the cut, which must not record itself.
const auto realWrite = real<ssize_t (*)(int, const void *, size_t)>("write");
const auto realFtruncate = real<int (*)(int, off_t)>("ftruncate");
const auto realFallocate = real<int (*)(int, off_t, off_t)>("posix_fallocate");
const auto realFsync = real<int (*)(int)>("fsync");
const auto realFdatasync = real<int (*)(int)>("fdatasync");
const auto realRename = real<int (*)(const char *, const char *)>("rename");

using Inode = std::pair<dev_t, ino_t>;

// A file written since its last sync: what it held then, and a descriptor to put that back.
struct UnsyncedData
{
    Inode inode;
    int fd;
    std::string synced;
};

// A rename whose folder has not been synced since, and where the replaced file was kept.
struct UnsyncedRename
{
    std::string from;
    std::string to;
    std::string kept; // a hard link to the file that `to` named before; empty when there was none
    Inode folder;
};

// Never destroyed: the library's destructor below runs after the static objects are gone.
auto &unsyncedData = *new std::vector<UnsyncedData>;
auto &unsyncedRenames = *new std::vector<UnsyncedRename>;
int keptCount = 0;

bool inodeOf(int fd, Inode &inode, mode_t &type)
{
    struct stat status = {};
    if (::fstat(fd, &status) != 0)
        return false;
    inode = {status.st_dev, status.st_ino};
    type = status.st_mode & S_IFMT;
    return true;
}

std::string folderOf(const char *path)
{
    const std::string name(path);
    const auto slash = name.rfind('/');
    return slash == std::string::npos ? std::string(".") : name.substr(0, slash + 1);
}

// Called before a file's data changes: the first change since a sync remembers the synced data.
void beforeChange(int fd)
{
    Inode inode;
    mode_t type = 0;
    if (!inodeOf(fd, inode, type) || type != S_IFREG)
        return;
    for (const UnsyncedData &data : unsyncedData) {
        if (data.inode == inode)
            return;
    }
    // The descriptor may be write-only: open the file again to read it and, later, to restore it.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const int copy = ::open(self.c_str(), O_RDWR | O_CLOEXEC);
    if (copy < 0)
        return;
    std::string synced;
    char buffer[4096];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(copy, buffer, sizeof buffer, at);
        if (n <= 0)
            break;
        synced.append(buffer, size_t(n));
        at += n;
    }
    unsyncedData.push_back({inode, copy, std::move(synced)});
}

void afterSync(int fd)
{
    static const bool ignored = ::getenv("POWERCUT_IGNORE_SYNCS") != nullptr;
    if (ignored)
        return;
    Inode inode;
    mode_t type = 0;
    if (!inodeOf(fd, inode, type))
        return;
    if (type == S_IFDIR) {
        std::erase_if(unsyncedRenames, [&](const UnsyncedRename &rename) {
            if (rename.folder != inode)
                return false;
            if (!rename.kept.empty())
                ::unlink(rename.kept.c_str());
            return true;
        });
        return;
    }
    std::erase_if(unsyncedData, [&](const UnsyncedData &data) {
        if (data.inode != inode)
            return false;
        ::close(data.fd);
        return true;
    });
}

// The power cut: renames are undone newest first, then every unsynced file gets its synced data.
__attribute__((destructor)) void powerCut()
{
    for (size_t i = unsyncedRenames.size(); i-- > 0;) {
        const UnsyncedRename &rename = unsyncedRenames[i];
        realRename(rename.to.c_str(), rename.from.c_str());
        if (!rename.kept.empty())
            realRename(rename.kept.c_str(), rename.to.c_str());
    }
    for (const UnsyncedData &data : unsyncedData) {
        if (realFtruncate(data.fd, 0) == 0)
            (void)::pwrite(data.fd, data.synced.data(), data.synced.size(), 0);
        ::close(data.fd);
    }
}

} // namespace

// The hooks, exported under the C library's names (the asm labels) but named apart in C++, so that
// they do not redeclare the library's own functions.
extern "C" {
ssize_t hookWrite(int fd, const void *buffer, size_t count) __asm__("write");
int hookFtruncate(int fd, off_t length) __asm__("ftruncate");
int hookFallocate(int fd, off_t offset, off_t length) __asm__("posix_fallocate");
int hookFsync(int fd) __asm__("fsync");
int hookFdatasync(int fd) __asm__("fdatasync");
int hookRename(const char *from, const char *to) __asm__("rename");
}

ssize_t hookWrite(int fd, const void *buffer, size_t count)
{
    beforeChange(fd);
    return realWrite(fd, buffer, count);
}

int hookFtruncate(int fd, off_t length)
{
    beforeChange(fd);
    return realFtruncate(fd, length);
}

int hookFallocate(int fd, off_t offset, off_t length)
{
    beforeChange(fd);
    return realFallocate(fd, offset, length);
}

int hookFsync(int fd)
{
    const int result = realFsync(fd);
    if (result == 0)
        afterSync(fd);
    return result;
}

int hookFdatasync(int fd)
{
    const int result = realFdatasync(fd);
    if (result == 0)
        afterSync(fd);
    return result;
}

int hookRename(const char *from, const char *to)
{
    struct stat folder = {};
    if (::stat(folderOf(to).c_str(), &folder) != 0)
        return realRename(from, to);
    std::string kept = folderOf(to) + ".powercut-kept-" + std::to_string(++keptCount);
    if (::link(to, kept.c_str()) != 0)
        kept.clear();
    const int result = realRename(from, to);
    if (result != 0) {
        if (!kept.empty())
            ::unlink(kept.c_str());
        return result;
    }
    unsyncedRenames.push_back({from, to, kept, {folder.st_dev, folder.st_ino}});
    return result;
}
