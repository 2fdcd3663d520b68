// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what the Windows program reads from the Pomvale.ini beside this executable, as UTF-8:
//   Enable=<value>
//   Path=<value>
// for the comparison with the Linux program's reading (tests/e2e/wine_same_reading.sh).
#include "win32/modpomvale.h"

#include <windows.h>

#include <string>

int wmain()
{
    modPomvale::LoadOption();
    const std::wstring text
        = L"Enable=" + modPomvale::SoundEnable + L"\nPath=" + modPomvale::SoundPath + L"\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
              nullptr);
    return 0;
}
