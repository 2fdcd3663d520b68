// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/seam.h"

#include <map>
#include <set>
#include <string>

// A seam over files in memory, with the platform's own code page and Unicode form, that records
// what the library asks of it and can be told to refuse.
class FakeSeam final : public settings::Seam
{
public:
    using Path = settings::Path;

    mutable std::map<Path, std::string> files;
    std::set<Path> readOnlyFiles;
    std::set<Path> writableFolders;
    std::set<Path> packageFolders;
    Path exeFolder = "prog";
    Path userFolder = "home";
    Path adminFolder;
    settings::ReplaceStatus replaceAnswer = settings::ReplaceStatus::Replaced;
    mutable int replaces = 0;
    mutable int inPlaceWrites = 0;

    Path executableFolder() const override { return exeFolder; }
    Path perUserFolder() const override { return userFolder; }
    Path defaultsFolder() const override { return adminFolder; }
    bool isPackageFolder(const Path &folder) const override { return packageFolders.contains(folder); }
    bool folderWritable(const Path &folder) const override { return writableFolders.contains(folder); }
    bool fileWritable(const Path &file) const override
    {
        return files.contains(file) && !readOnlyFiles.contains(file);
    }
    bool isRegularFile(const Path &file) const override { return files.contains(file); }
    bool makeFolder(const Path &folder) const override { return folder == userFolder; }

    settings::FileRead readFile(const Path &file, std::size_t maxSize) const override
    {
        const auto found = files.find(file);
        if (found == files.end())
            return {settings::ReadStatus::Missing, {}};
        if (found->second.size() > maxSize)
            return {settings::ReadStatus::Failed, {}};
        return {settings::ReadStatus::Ok, found->second};
    }
    settings::ReplaceStatus replaceFile(const Path &file, std::string_view bytes) const override
    {
        ++replaces;
        if (replaceAnswer != settings::ReplaceStatus::Replaced || readOnlyFiles.contains(file))
            return replaceAnswer == settings::ReplaceStatus::Replaced ? settings::ReplaceStatus::Failed
                                                                      : replaceAnswer;
        files[file] = std::string(bytes);
        return settings::ReplaceStatus::Replaced;
    }
    bool writeInPlace(const Path &file, std::string_view bytes) const override
    {
        ++inPlaceWrites;
        files[file] = std::string(bytes);
        return true;
    }
    settings::UnicodeForm unicodeForm() const override { return settings::platformSeam().unicodeForm(); }

    bool isLeadByte(unsigned char byte) const override { return settings::platformSeam().isLeadByte(byte); }
    std::optional<std::u16string> decode(std::string_view bytes, bool lossy) const override
    {
        return settings::platformSeam().decode(bytes, lossy);
    }
    std::optional<std::string> encode(std::u16string_view text) const override
    {
        return settings::platformSeam().encode(text);
    }
};

// True when the platform's legacy code page is CP932, which the tests of Japanese files need: always
// on Linux, under Wine with a Japanese locale.
inline bool legacyIsCp932()
{
    return settings::platformSeam().decode("\x82\xa0\x5c", false) == std::u16string(u"あ\\");
}
