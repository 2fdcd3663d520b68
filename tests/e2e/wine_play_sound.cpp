// SPDX-License-Identifier: GPL-3.0-or-later
// Plays each file with PlaySound, as the Windows program's alarm does, one after another, for the
// comparison with the Linux program's player (wine_same_sound.sh):
//   wine-play-sound SECONDS FILE...
// Each file starts SECONDS after the one before; a file that has no sound of its own is silence.
#include <windows.h>

#include <mmsystem.h>

#include <cwchar>

int wmain(int argc, wchar_t *argv[])
{
    if (argc < 3)
        return 2;
    const DWORD each = static_cast<DWORD>(1000 * std::wcstod(argv[1], nullptr));
    for (int i = 2; i < argc; ++i) {
        const DWORD start = GetTickCount();
        PlaySoundW(argv[i], nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
        // Real time: the sound is recorded as it plays.
        const DWORD spent = GetTickCount() - start;
        if (spent < each)
            Sleep(each - spent);
    }
    PlaySoundW(nullptr, nullptr, SND_PURGE);
    return 0;
}
