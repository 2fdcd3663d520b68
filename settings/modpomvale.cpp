// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/modpomvale.h"

#include "settings/modini.h"
#include "settings/modpath.h"
#include "settings/profilefile.h"

namespace modPomvale {

settings::Path IniPath;
std::u16string SoundEnable;
std::u16string SoundPath;

namespace {

constexpr std::u16string_view fileName = u"Pomvale.ini";
constexpr std::u16string_view section = u"Option";
constexpr std::u16string_view enableKey = u"Enable";
constexpr std::u16string_view pathKey = u"Path";

settings::Seam *seamOverride = nullptr;
settings::Path folderOverride;

settings::Path executableFolder()
{
    return folderOverride.empty() ? seam().executableFolder() : folderOverride;
}

} // namespace

void LoadOption()
{
    const settings::Path folder = executableFolder();
    const settings::Path path = settings::FileLocation(seam(), folder, fileName).fileToRead();
    // A folder of that name, or anything else that is no ordinary file, counts as no file; so
    // does everything when the executable's folder is not known.
    if (folder.empty() || !seam().isRegularFile(path)) {
        SoundEnable.assign(1, u'0'); // (GCC 12 warns falsely of overlap on assigning the literal)
        SoundPath.clear();
        return;
    }
    IniPath = path;
    // Both keys from one reading: a large file is read once.
    settings::ProfileRead read;
    try {
        read = settings::readProfile(seam(), IniPath, section, {enableKey, pathKey});
    } catch (...) {
        read.values.assign(2, std::nullopt);
    }
    // A missing or empty key falls back on "0" and "".
    const auto valueOr = [](const std::optional<std::u16string> &value, std::u16string_view fallback) {
        return std::u16string(value && !value->empty() ? std::u16string_view(*value) : fallback);
    };
    SoundEnable = valueOr(read.values[0], u"0");
    SoundPath = valueOr(read.values[1], u"");
}

settings::SaveOutcome SaveOption()
{
    const settings::Path folder = executableFolder();
    IniPath = modPath::CombinePath(folder, settings::Path(fileName));
    if (folder.empty()) // the name alone would land in the working folder
        return settings::SaveOutcome::Failed;
    try {
        IniPath = settings::FileLocation(seam(), folder, fileName).prepareFileToWrite();
        // Both keys in one document, the file replaced once: both are stored or neither.
        return settings::saveProfile(seam(), IniPath, section,
                                     {{enableKey, SoundEnable}, {pathKey, SoundPath}});
    } catch (...) {
        return settings::SaveOutcome::Failed;
    }
}

settings::Seam &seam()
{
    return seamOverride ? *seamOverride : settings::platformSeam();
}

void setSeam(settings::Seam *seam)
{
    seamOverride = seam;
}

void setExecutableFolderOverride(const settings::Path &folder)
{
    folderOverride = folder;
}

} // namespace modPomvale
