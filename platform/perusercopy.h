// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// A program installed where its users may not write (a system-wide install) keeps a per-user copy
// of the files it writes beside its executable, as Windows does for older programs in protected
// folders: $XDG_CONFIG_HOME/pomvale/<name>, ~/.config/pomvale/<name> by default. A folder that
// can be written, or a file there that can, is used as it is (a per-user or portable install),
// except under /usr, which belongs to the package manager: there even root gets a copy of its own.
// The administrator's defaults for everyone are <first folder of $XDG_CONFIG_DIRS>/pomvale/<name>,
// /etc/xdg/pomvale/<name> by default, or else the file beside the executable.

// Where the per-user copy of the file named fileName lives.
QString perUserCopyPath(const QString &fileName);

// Where the administrator's defaults for the file named fileName live.
QString systemDefaultsPath(const QString &fileName);

// The file to read in place of `path`: where `path` is not used in place, the per-user copy when
// it is there, else the administrator's defaults when they are there; `path` itself otherwise.
QString fileToRead(const QString &path);

// The file to write in place of `path`: `path` itself when it can be written; otherwise the
// per-user copy, which the first time starts as a byte-for-byte copy of the administrator's
// defaults (or of `path` when there are none), so comments, encoding and line endings stay. The copy's folder
// is made as needed. When the copy cannot be made its path is still given: the write to it then fails and
// names it.
QString prepareFileToWrite(const QString &path);

} // namespace platform
