// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/seam.h"

namespace settings::windows {

// The settings seam on Windows: %APPDATA%\Pomvale for the per-user copy, files replaced with
// ReplaceFileW after FlushFileBuffers, the system's ANSI code page as the legacy code page (with no
// best fit and a round-trip check), and UTF-16LE with its mark as the Unicode form. No profile
// function of the system is called.
class WindowsSeam final : public Seam
{
public:
    Path executableFolder() const override;
    Path perUserFolder() const override;
    Path defaultsFolder() const override { return {}; } // the file beside the executable is the defaults
    bool isPackageFolder(const Path &) const override { return false; }
    bool folderWritable(const Path &folder) const override;
    bool fileWritable(const Path &file) const override;
    bool isRegularFile(const Path &file) const override;
    bool makeFolder(const Path &folder) const override;
    FileRead readFile(const Path &file, std::size_t maxSize) const override;
    ReplaceStatus replaceFile(const Path &file, std::string_view bytes) const override;
    bool writeInPlace(const Path &file, std::string_view bytes) const override;
    UnicodeForm unicodeForm() const override { return UnicodeForm::Utf16LE; }

    bool isLeadByte(unsigned char byte) const override;
    std::optional<std::u16string> decode(std::string_view bytes, bool lossy) const override;
    std::optional<std::string> encode(std::u16string_view text) const override;
};

// The temporary files of a save are named "<file name>.<unique>.pomvale-save" beside the file: no
// other program's file has such a name, so the clean-up of what a killed save left touches only the
// program's own.
inline constexpr wchar_t TemporarySuffix[] = L".pomvale-save";

} // namespace settings::windows
