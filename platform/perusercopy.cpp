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

// Files under /usr are the package manager's: what a program writes there no package owns, and a
// file root left there would become every user's defaults.
bool underUsr(const QString &folder)
{
    return folder == u"/usr" || folder.startsWith(u"/usr/");
}

// Whether the file is used where it is: its folder is the user's to write (a file the user made
// read-only there stays so, and a save to it fails), or the file itself can be written in place.
// A folder the user may not write, as a system-wide install's, or any folder under /usr sends the
// program elsewhere.
bool usedInPlace(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (underUsr(QDir::cleanPath(folder)))
        return false;
    return writable(folder, W_OK | X_OK) || (QFileInfo::exists(path) && writable(path, W_OK));
}

QString configHome()
{
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base-directory rules say.
    QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(configured))
        return configured;
    return joinPath(QDir::homePath(), QStringLiteral(".config"));
}

QString firstConfigDir()
{
    // Relative entries are invalid and ignored, as for XDG_CONFIG_HOME.
    const QStringList configured = qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':');
    for (const QString &folder : configured)
        if (QDir::isAbsolutePath(folder))
            return folder;
    return QStringLiteral("/etc/xdg");
}

// The administrator's defaults: the file in the configuration folder, else the one beside the
// executable, as an install outside /usr may have it.
QString defaultsFor(const QString &path)
{
    const QString defaults = systemDefaultsPath(QFileInfo(path).fileName());
    return findRegularFile(defaults).isEmpty() ? path : defaults;
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

QString systemDefaultsPath(const QString &fileName)
{
    return joinPath(joinPath(firstConfigDir(), QStringLiteral("pomvale")), fileName);
}

QString fileToRead(const QString &path)
{
    if (usedInPlace(path))
        return path;
    const QString copy = perUserCopyPath(QFileInfo(path).fileName());
    return findRegularFile(copy).isEmpty() ? defaultsFor(path) : copy;
}

QString prepareFileToWrite(const QString &path)
{
    if (usedInPlace(path))
        return path;
    QString copy = perUserCopyPath(QFileInfo(path).fileName());
    if (!QFileInfo::exists(copy) && QDir().mkpath(QFileInfo(copy).absolutePath()))
        seedCopy(defaultsFor(path), copy);
    return copy;
}

} // namespace platform
