#include "platform/profile.h"

#include "platform/atomicfile.h"
#include "platform/inidocument.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>

namespace platform {

namespace {

enum class Load {
    Read,
    NoFile,
    Failed,
};

Load loadFile(const QString &path, QByteArray &bytes)
{
    // Through symbolic links: a link to a file not there yet is no file either.
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ENOENT ? Load::NoFile : Load::Failed;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Load::Failed;
    if (file.size() > maxProfileSize)
        return Load::Failed;
    // Read to the end rather than trusting size(): the file may have changed since.
    bytes = file.readAll();
    if (bytes.size() > maxProfileSize || file.error() != QFileDevice::NoError)
        return Load::Failed;
    return Load::Read;
}

} // namespace

ProfileRead readProfileString(const QString &file, QStringView section, QStringView key)
{
    QByteArray bytes;
    switch (loadFile(file, bytes)) {
    case Load::NoFile:
        return {ProfileStatus::Missing, {}};
    case Load::Failed:
        return {ProfileStatus::Failed, {}};
    case Load::Read:
        break;
    }
    const IniDocument document(std::move(bytes));
    const auto value = document.value(section, key);
    if (!value)
        return {ProfileStatus::Missing, {}};
    return {ProfileStatus::Ok, *value};
}

ProfileStatus writeProfileString(const QString &file, QStringView section, QStringView key, QStringView value)
{
    QByteArray bytes;
    const Load loaded = loadFile(file, bytes);
    if (loaded == Load::Failed)
        return ProfileStatus::Failed;
    IniDocument document(bytes);
    if (document.setValue(section, key, value) != IniDocument::WriteResult::Stored)
        return ProfileStatus::Failed;
    // An unchanged file need not be written, which also spares a read-only file that already
    // holds the value.
    if (document.bytes() == bytes && loaded == Load::Read)
        return ProfileStatus::Ok;
    return writeFileAtomically(file, document.bytes()) ? ProfileStatus::Ok : ProfileStatus::Failed;
}

} // namespace platform
