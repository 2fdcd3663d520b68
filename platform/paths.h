// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// Joins a folder and a file name with exactly one "/" between them, whether or not the folder
// ends in one: "/" and "a.ini" give "/a.ini". An empty folder gives the file name alone.
QString joinPath(const QString &folder, const QString &fileName);

// The folder that holds the program's executable, without a trailing "/" except at the root;
// empty when it cannot be known.
QString applicationDir();

// Makes applicationDir() return `folder` instead, so tests can place the files that the program
// keeps beside its executable; an empty folder brings the real one back.
void setApplicationDirOverride(const QString &folder);

// The file name of `path` when it names a regular file (also through a symbolic link); the empty
// text for a folder, a device, or nothing at all.
QString findRegularFile(const QString &path);

} // namespace platform
