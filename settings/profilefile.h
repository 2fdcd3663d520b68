// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/saveoutcome.h"
#include "settings/seam.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace settings {

// Files larger than this are not read: a settings file never comes near it.
inline constexpr std::size_t maxProfileSize = 64 * 1024 * 1024;

struct ProfileRead
{
    ReadStatus status = ReadStatus::Missing; // Ok once the file was read
    std::vector<std::optional<std::u16string>> values; // one a key asked for; nothing when missing
};

// The keys' values in the section, read from one reading of the file.
ProfileRead readProfile(const Seam &seam, const Path &file, std::u16string_view section,
                        const std::vector<std::u16string_view> &keys);

using KeyValue = std::pair<std::u16string_view, std::u16string_view>;

// Stores every key=value in the section with one replacement of the file, or none of them.
// Values that the file already holds are not rewritten; when all are, the file is not touched.
SaveOutcome saveProfile(const Seam &seam, const Path &file, std::u16string_view section,
                        const std::vector<KeyValue> &values);

// Where a file that the program keeps beside its executable is read and written. A folder the user
// may write (a portable or per-user install), or a file there that the user may write, is used as it
// is, except in a package manager's folder. Otherwise the user has a copy of their own, made at the
// first save as a byte-for-byte copy of the administrator's defaults (those in the defaults folder,
// else the file beside the executable).
class FileLocation final
{
public:
    FileLocation(const Seam &seam, Path folder, std::u16string_view fileName);

    // The per-user copy when it is there, else the administrator's defaults when they are there,
    // else the file beside the executable.
    Path fileToRead() const;
    // As fileToRead, but the per-user copy is made (with its folder) when it is not there. Where no
    // copy can be made its path is still given: the save then fails and names it.
    Path prepareFileToWrite() const;

private:
    bool usedInPlace() const;
    Path defaults() const;

    const Seam &m_seam;
    Path m_folder;
    Path m_besideProgram;
    Path m_copy;
};

// The folder and the file name joined with exactly one separator, also at the root; an empty
// folder gives the file name alone.
Path joinPath(const Path &folder, const Path &fileName);

// A path as text for a message: UTF-8 bytes decoded (others as U+FFFD), UTF-16 as it is.
std::u16string displayPath(const Path &path);

} // namespace settings
