// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profile/profile.h"

#include "platform/profile/atomicfile.h"
#include "platform/profile/inidocument.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Ok with the file's bytes, Missing when there is no file, Failed when it cannot be read.
ProfileStatus loadFile(const QString &path, QByteArray &bytes)
{
    // Opened without waiting, and its type checked on what was opened: a FIFO would block the
    // open, and a device (also through a link) would never end. Only a regular file is a file.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? ProfileStatus::Missing : ProfileStatus::Failed;
    struct stat status = {};
    ProfileStatus result = ProfileStatus::Failed;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= maxProfileSize) {
        // Read to the end rather than trusting the size, which may have changed since, but never
        // past the limit.
        bytes.resize(qsizetype(status.st_size) + 1);
        qsizetype got = 0;
        for (;;) {
            if (got == bytes.size()) {
                if (got > maxProfileSize)
                    break;
                bytes.resize(std::min<qsizetype>(got * 2 + 4096, maxProfileSize + 1));
            }
            const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n == 0)
                    result = ProfileStatus::Ok;
                break;
            }
            got += n;
        }
        bytes.truncate(got);
    }
    ::close(fd);
    if (result != ProfileStatus::Ok)
        bytes.clear();
    return result;
}

} // namespace

ProfileRead readProfileString(const QString &file, QStringView section, QStringView key)
{
    QByteArray bytes;
    if (const ProfileStatus loaded = loadFile(file, bytes); loaded != ProfileStatus::Ok)
        return {loaded, {}};
    const IniDocument document(std::move(bytes));
    const auto value = document.value(section, key);
    if (!value)
        return {ProfileStatus::Missing, {}};
    return {ProfileStatus::Ok, *value};
}

ProfileStatus writeProfileString(const QString &file, QStringView section, QStringView key, QStringView value)
{
    QByteArray bytes;
    const ProfileStatus loaded = loadFile(file, bytes);
    if (loaded == ProfileStatus::Failed)
        return ProfileStatus::Failed;
    IniDocument document(bytes);
    // A value that reads back as the one to store is left as it is, byte for byte: bytes that
    // do not decode, or what follows a NUL, would otherwise be lost to an unedited value. This also
    // spares a read-only file that already holds the value.
    if (loaded == ProfileStatus::Ok && document.value(section, key) == value)
        return ProfileStatus::Ok;
    switch (document.setValue(section, key, value)) {
    case IniDocument::WriteResult::Stored:
        break;
    case IniDocument::WriteResult::NotRepresentable:
        return ProfileStatus::NotRepresentable;
    default:
        return ProfileStatus::Failed;
    }
    return writeFileAtomically(file, document.bytes()) ? ProfileStatus::Ok : ProfileStatus::Failed;
}

} // namespace platform
