// SPDX-License-Identifier: GPL-3.0-or-later
// Writes settings from a process of its own, for the tests that run one as another user, kill it,
// cut its power, or replace its executable under it.
//
//   profilewriter once <file> <section> <key> <value>      exit status 0 when stored
//   profilewriter save <folder> <enable> <path>            SaveOption beside a given folder
//   profilewriter load <folder>                            LoadOption from beside it
//   profilewriter upgraded-save <enable> <path>            LoadOption beside this executable, then
//                                                          a copy renamed over it (an upgrade), then
//                                                          SaveOption
// save, load and upgraded-save print the settings file's path (IniPath), then SoundEnable and SoundPath.
#include "settings/modpomvale.h"
#include "settings/posix/posixseam.h"
#include "settings/profilefile.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

std::u16string text(const char *bytes)
{
    return settings::utf8ToUtf16(bytes);
}

void print()
{
    const std::string enable = *settings::utf16ToUtf8(modPomvale::SoundEnable);
    const std::string path = *settings::utf16ToUtf8(modPomvale::SoundPath);
    std::printf("%s\n%s\n%s\n", modPomvale::IniPath.c_str(), enable.c_str(), path.c_str());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 6 && std::strcmp(argv[1], "once") == 0)
        return settings::saveProfile(settings::platformSeam(), argv[2], text(argv[3]),
                                     {{text(argv[4]), text(argv[5])}})
                == settings::SaveOutcome::Saved
            ? 0
            : 1;
    if (argc == 5 && std::strcmp(argv[1], "save") == 0) {
        modPomvale::setExecutableFolderOverride(argv[2]);
        modPomvale::SoundEnable = text(argv[3]);
        modPomvale::SoundPath = text(argv[4]);
        const bool saved = modPomvale::SaveOption() == settings::SaveOutcome::Saved;
        print();
        return saved ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "load") == 0) {
        modPomvale::setExecutableFolderOverride(argv[2]);
        modPomvale::LoadOption();
        print();
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "upgraded-save") == 0) {
        modPomvale::LoadOption();
        const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
        std::filesystem::path upgrade = self;
        upgrade += ".new";
        std::filesystem::copy_file(self, upgrade);
        std::filesystem::rename(upgrade, self);
        modPomvale::SoundEnable = text(argv[2]);
        modPomvale::SoundPath = text(argv[3]);
        const bool saved = modPomvale::SaveOption() == settings::SaveOutcome::Saved;
        print();
        return saved ? 0 : 1;
    }
    std::fputs("usage: profilewriter once|save|load|upgraded-save ...\n", stderr);
    return 2;
}
