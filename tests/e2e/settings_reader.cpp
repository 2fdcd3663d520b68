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
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

namespace {

// The arguments as the user typed them: on Windows the narrow ones pass through the ANSI code page,
// which would lose what it lacks.
std::vector<std::u16string> arguments([[maybe_unused]] int argc, [[maybe_unused]] char **argv)
{
    std::vector<std::u16string> list;
#ifdef _WIN32
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; wide && i < count; ++i)
        list.emplace_back(wide[i], wide[i] + wcslen(wide[i]));
    LocalFree(wide);
#else
    list.reserve(static_cast<std::size_t>(argc));
    for (int i = 0; i < argc; ++i)
        list.push_back(settings::utf8ToUtf16(argv[i]));
#endif
    return list;
}

} // namespace

int main(int argc, char **argv)
{
    std::string saved;
    const std::vector<std::u16string> args = arguments(argc, argv);
    if (args.size() == 4 && args[1] == u"save") {
        modPomvale::SoundEnable = args[2];
        modPomvale::SoundPath = args[3];
        const settings::SaveOutcome outcome = modPomvale::SaveOption();
        saved = outcome == settings::SaveOutcome::Saved ? "Saved=1\n" : "Saved=0\n";
    }
    modPomvale::LoadOption();
    const std::string text = "Enable=" + settings::utf16ToUtf8(modPomvale::SoundEnable).value_or("?")
        + "\nPath=" + settings::utf16ToUtf8(modPomvale::SoundPath).value_or("?") + '\n' + saved;
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
