// SPDX-License-Identifier: GPL-3.0-or-later
// Writes profile keys from a process of its own, for the tests that run one as another user.
//
//   profilewriter once <file> <section> <key> <value>             exit status 0 when stored
//   profilewriter save <folder> <enable> <path>                   SaveOption beside a given folder
//   profilewriter load <folder>                                   LoadOption from beside it
// save and load print the settings file's path (IniPath), then SoundEnable and SoundPath.
#include "platform/paths.h"
#include "platform/profile/profile.h"
#include "settings/modpomvale.h"

#include <QString>

#include <QTextStream>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    const auto arg = [argv](int i) { return QString::fromLocal8Bit(argv[i]); };
    if (argc == 6 && std::strcmp(argv[1], "once") == 0)
        return platform::writeProfileString(arg(2), arg(3), arg(4), arg(5)) == platform::ProfileStatus::Ok
            ? 0
            : 1;
    const auto print = [] {
        QTextStream(stdout) << modPomvale::IniPath << '\n'
                            << modPomvale::SoundEnable << '\n'
                            << modPomvale::SoundPath << '\n';
    };
    if (argc == 5 && std::strcmp(argv[1], "save") == 0) {
        platform::setApplicationDirOverride(arg(2));
        modPomvale::SoundEnable = arg(3);
        modPomvale::SoundPath = arg(4);
        const bool saved = modPomvale::SaveOption().saved;
        print();
        return saved ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "load") == 0) {
        platform::setApplicationDirOverride(arg(2));
        modPomvale::LoadOption();
        print();
        return 0;
    }
    std::fputs("usage: profilewriter once|save ...\n", stderr);
    return 2;
}
