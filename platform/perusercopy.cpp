// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/perusercopy.h"

#include "platform/paths.h"
#include "platform/profile/atomicfile.h"
#include "platform/profile/profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace platform {

namespace {

bool writable(const QString &path, int mode)
{
    return ::access(QFile::encodeName(path).constData(), mode) == 0;
}

// Whether the file is used where it is: its folder is the user's to write (a file the user made
// read-only there stays so, and a save to it fails), or the file itself can be written in place.
// Only a folder the user may not write, as a system-wide install's, sends the program elsewhere.
bool usedInPlace(const QString &path)
{
    return writable(QFileInfo(path).absolutePath(), W_OK | X_OK)
        || (QFileInfo::exists(path) && writable(path, W_OK));
}

QString configHome()
{
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base-directory rules say.
    QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(configured))
        return configured;
    return joinPath(QDir::homePath(), QStringLiteral(".config"));
}

// Copies the administrator's file, read with a bound, to the new per-user copy; nothing when there
// is no such file or it cannot be read, so the first write then starts a new file.
void seedCopy(const QString &from, const QString &to)
{
    QFile source(from);
    if (findRegularFile(from).isEmpty() || !source.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = source.read(maxProfileSize + 1);
    if (bytes.size() > maxProfileSize || source.error() != QFileDevice::NoError)
        return;
    writeFileAtomically(to, bytes);
}

} // namespace

QString perUserCopyPath(const QString &fileName)
{
    return joinPath(joinPath(configHome(), QStringLiteral("pomvale")), fileName);
}

QString fileToRead(const QString &path)
{
    if (usedInPlace(path))
        return path;
    const QString copy = perUserCopyPath(QFileInfo(path).fileName());
    return findRegularFile(copy).isEmpty() ? path : copy;
}

QString prepareFileToWrite(const QString &path)
{
    if (usedInPlace(path))
        return path;
    QString copy = perUserCopyPath(QFileInfo(path).fileName());
    if (!QFileInfo::exists(copy) && QDir().mkpath(QFileInfo(copy).absolutePath()))
        seedCopy(path, copy);
    return copy;
}

} // namespace platform
