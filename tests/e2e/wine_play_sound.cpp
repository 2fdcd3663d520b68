// SPDX-License-Identifier: GPL-3.0-or-later
// Plays each file with PlaySound, as the Windows program's alarm does, one after another, for the
// comparison with the Linux program's player (wine_same_sound.sh):
//   wine-play-sound GAP_SECONDS FILE...
// Each file plays to its end, then GAP_SECONDS of silence follow, however late a sound started on a
// busy machine. A file that has no sound of its own is silence.
#include <windows.h>

#include <mmsystem.h>

#include <cwchar>

int wmain(int argc, wchar_t *argv[])
{
    if (argc < 3)
        return 2;
    const auto gap = static_cast<DWORD>(1000 * std::wcstod(argv[1], nullptr));
    for (int i = 2; i < argc; ++i) {
        PlaySoundW(argv[i], nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT);
        Sleep(gap); // real time: the sound is recorded as it plays
    }
    return 0;
}
