// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

namespace platform {

// Replaces the contents of the file at `path`, creating it if needed, so that a crash or a full
// disk at any moment leaves the file whole with either its old or its new contents.
//
// The new contents go to a temporary file in the same folder, reach the disk, and are renamed
// over the file. A symbolic link is followed to its target, which is replaced; the link stays.
// The file keeps its permission bits (and its owner, where the process may set it); a new file
// gets 0666 less the umask. Where the folder is read-only but the file itself is writable, the
// file is written in place after its new size has been reserved on disk: a full disk then
// leaves it untouched, though a crash in the middle of that write can still tear it.
//
// Temporary files that an earlier, killed write left in the folder are removed.
// A file that is read-only (no write bit, or not writable by this process) is left alone.
//
// False when the contents could not be stored; the file is then as it was.
bool writeFileAtomically(const QString &path, QByteArrayView contents);

} // namespace platform
