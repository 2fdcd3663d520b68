// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/seam.h"

namespace settings::posix {

// The settings seam on Linux: XDG folders, POSIX files with rename after fsync, CP932 as the
// legacy code page, and UTF-8 as the Unicode form.
class PosixSeam final : public Seam
{
public:
    Path executableFolder() const override;
    Path perUserFolder() const override;
    Path defaultsFolder() const override;
    bool isPackageFolder(const Path &folder) const override;
    bool folderWritable(const Path &folder) const override;
    bool fileWritable(const Path &file) const override;
    bool isRegularFile(const Path &file) const override;
    bool makeFolder(const Path &folder) const override;
    FileRead readFile(const Path &file, std::size_t maxSize) const override;
    ReplaceStatus replaceFile(const Path &file, std::string_view bytes) const override;
    bool writeInPlace(const Path &file, std::string_view bytes) const override;
    UnicodeForm unicodeForm() const override { return UnicodeForm::Utf8; }

    bool isLeadByte(unsigned char byte) const override;
    std::optional<std::u16string> decode(std::string_view bytes, bool lossy) const override;
    std::optional<std::string> encode(std::u16string_view text) const override;
};

// The folder of the executable that /proc/self/exe names, kept as its bytes. Where the file has
// been replaced or removed since it was started, the kernel adds " (deleted)" to the name: the
// folder is still the one it ran from. Empty when the kernel cannot spell the path.
Path runningExecutableFolder();

} // namespace settings::posix
