// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/textencoding.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace settings {

// A path as the platform spells it: bytes on Linux (not necessarily UTF-8), UTF-16 on Windows.
using Path = std::filesystem::path;

enum class ReadStatus {
    Ok,
    Missing, // no such file
    Failed, // no regular file, too large, or unreadable
};

struct FileRead
{
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;
};

enum class ReplaceStatus {
    Replaced,
    NoTemporary, // the folder cannot take a temporary file; nothing was changed
    Failed, // nothing was changed
};

// What the settings code needs of the platform, and nothing more: where the files live, what may
// be written, bounded reads, crash-safe replacement, and the legacy code page. Everything decided
// about the settings is in the library; each platform supplies one of these.
class Seam : public LegacyCodePage
{
public:
    // The folder that holds the running executable; empty when it cannot be known.
    virtual Path executableFolder() const = 0;
    // The folder of the user's own copy of a file the program keeps beside itself; empty when none.
    virtual Path perUserFolder() const = 0;
    // The folder of the administrator's defaults for every user; empty where the file beside the
    // executable is those defaults.
    virtual Path defaultsFolder() const = 0;
    // A folder that belongs to the package manager, where nothing is written even when it could be.
    virtual bool isPackageFolder(const Path &folder) const = 0;

    virtual bool folderWritable(const Path &folder) const = 0;
    virtual bool fileWritable(const Path &file) const = 0;
    // An ordinary file: no folder, device, or (on Windows) hidden or system file.
    virtual bool isRegularFile(const Path &file) const = 0;
    // Makes the folder and its parents as needed; true when it is there afterwards.
    virtual bool makeFolder(const Path &folder) const = 0;

    // The file's bytes, read without blocking on what is no regular file and never past maxSize.
    virtual FileRead readFile(const Path &file, std::size_t maxSize) const = 0;
    // Puts the bytes in place of the file (or as a new file) whole or not at all: a temporary
    // file in the same folder reaches the disk, then replaces the original in one step. A
    // read-only file is left alone.
    virtual ReplaceStatus replaceFile(const Path &file, std::string_view bytes) const = 0;
    // Writes over the existing file itself: not whole-or-old, for a folder that takes no
    // temporary file.
    virtual bool writeInPlace(const Path &file, std::string_view bytes) const = 0;

    virtual UnicodeForm unicodeForm() const = 0;
};

// The running platform's seam.
Seam &platformSeam();

} // namespace settings
