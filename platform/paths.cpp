// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paths.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace platform {

namespace {

QString &applicationDirOverride()
{
    static QString folder;
    return folder;
}

} // namespace

QString joinPath(const QString &folder, const QString &fileName)
{
    if (folder.isEmpty())
        return fileName;
    qsizetype folderEnd = folder.size();
    while (folderEnd > 0 && folder[folderEnd - 1] == u'/')
        --folderEnd;
    qsizetype nameStart = 0;
    while (nameStart < fileName.size() && fileName[nameStart] == u'/')
        ++nameStart;
    return QStringView(folder).left(folderEnd) + u'/' + QStringView(fileName).mid(nameStart);
}

QString applicationDir()
{
    if (!applicationDirOverride().isEmpty())
        return applicationDirOverride();
    // Where the kernel cannot spell the executable's path (longer than PATH_MAX), Qt falls back on
    // the command line, which a relative start turns into a file in the working folder. Only a
    // folder that really holds the running executable will do.
    const QString executable = QCoreApplication::applicationFilePath();
    struct stat found = {};
    struct stat running = {};
    if (executable.isEmpty() || !QFileInfo(executable).isAbsolute()
        || ::stat(QFile::encodeName(executable).constData(), &found) != 0
        || ::stat("/proc/self/exe", &running) != 0 || found.st_dev != running.st_dev
        || found.st_ino != running.st_ino)
        return {};
    return QCoreApplication::applicationDirPath();
}

void setApplicationDirOverride(const QString &folder)
{
    applicationDirOverride() = folder;
}

QString findRegularFile(const QString &path)
{
    struct stat status = {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0
        || !S_ISREG(status.st_mode))
        return {};
    return QFileInfo(path).fileName();
}

} // namespace platform
