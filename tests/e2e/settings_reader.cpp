// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what the program reads from the Pomvale.ini beside this executable, as UTF-8:
//   Enable=<value>
//   Path=<value>
// With "save ENABLE PATH" it first saves those values (given as UTF-8), as OK does, and prints what
// the save came to on a third line. Built for both programs from this one source, for the
// comparison of their readings (tests/e2e/wine_same_reading.sh).
#include "settings/modpomvale.h"
#include "settings/textencoding.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char **argv)
{
    std::string saved;
    if (argc == 4 && std::strcmp(argv[1], "save") == 0) {
        modPomvale::SoundEnable = settings::utf8ToUtf16(argv[2]);
        modPomvale::SoundPath = settings::utf8ToUtf16(argv[3]);
        const settings::SaveOutcome outcome = modPomvale::SaveOption();
        saved = outcome == settings::SaveOutcome::Saved ? "Saved=1\n" : "Saved=0\n";
    }
    modPomvale::LoadOption();
    const std::string text = "Enable=" + settings::utf16ToUtf8(modPomvale::SoundEnable).value_or("?")
        + "\nPath=" + settings::utf16ToUtf8(modPomvale::SoundPath).value_or("?") + '\n' + saved;
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
