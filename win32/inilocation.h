// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Where the settings file lives. A program installed where its user may not write (C:\Program Files)
// keeps a per-user copy in %APPDATA%\Pomvale, seeded from the administrator's file beside the
// executable; a folder the user may write (a portable copy) keeps the file beside the executable.
namespace IniLocation {

// Whether the user may write in the folder, found by making and removing a file there: on Windows the
// folder's access list decides, which the attributes do not show.
bool folderIsWritable(const std::wstring &folder);

// %APPDATA%\Pomvale; empty when Windows names no roaming application-data folder.
std::wstring perUserFolder();

// The file to read: the one beside the executable when its folder, or that file itself, can be
// written (a writable file in a protected folder is written in place, as on Linux); otherwise the
// per-user copy when it is there, and the administrator's file when it is not.
std::wstring fileToRead(const std::wstring &exeFolder, const std::wstring &fileName);

struct Target
{
    std::wstring folder; // where the file and the save's temporary copy go
    std::wstring path;
};

// The file to write: beside the executable when its folder or that file can be written; otherwise the
// per-user copy, made the first time as a byte-for-byte copy of the administrator's file (when there is one).
Target fileToWrite(const std::wstring &exeFolder, const std::wstring &fileName);

} // namespace IniLocation
