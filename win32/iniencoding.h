// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace win32 {

// How a settings file's text is kept, as far as Windows' profile functions need to be helped with it.
// They read a file with a byte order mark in its encoding, and any other file in the ANSI code page.
enum class IniEncoding {
    Ascii, // no mark and no byte above 0x7F: every encoding reads it alike
    Ansi, // no mark, and bytes that are not UTF-8: the ANSI code page (CP932 on Japanese Windows)
    Utf8, // no mark, and non-ASCII bytes that are all valid UTF-8: as the Linux program writes it
    Marked, // a UTF-16 or UTF-8 byte order mark, which the profile functions read themselves
};

// The largest settings file read whole: far beyond any real one.
inline constexpr DWORD MaxIniFileSize = 64 * 1024 * 1024;

// The file's bytes, read with a bound; nothing when it cannot be read or is larger than the bound.
std::optional<std::string> readFileBytes(const std::wstring &path, DWORD maxSize = MaxIniFileSize);
// Writes the bytes to a file: a new one (CREATE_ALWAYS) or in place over an existing one
// (OPEN_EXISTING), reserving the new size first so that a full disk leaves an existing file as it was.
bool writeFileBytes(const std::wstring &path, const std::string &bytes, DWORD disposition);

IniEncoding iniEncodingOf(const std::string &bytes);

// The UTF-8 byte order mark, which the profile functions need on a UTF-8 file to read it as UTF-8.
inline constexpr char Utf8Mark[] = "\xEF\xBB\xBF";
// An ASCII file's text as UTF-16LE with its mark: Windows' own "Unicode" file, which holds any value.
std::string asciiToUtf16(const std::string &bytes);

} // namespace win32
