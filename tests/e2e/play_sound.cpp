// SPDX-License-Identifier: GPL-3.0-or-later
// Plays each file through the Linux program's sound player, one after another, for the comparison
// with what the Windows program's PlaySound makes of the same files (wine_same_sound.sh):
//   pomvale-play-sound SECONDS FILE...
// Each file has SECONDS to play before the next replaces it; the last is stopped after as long.
#include "platform/sound/pulsesoundplayer.h"

#include <QString>

#include <chrono>
#include <cstdio>
#include <thread>

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SECONDS FILE...\n", argv[0]);
        return 2;
    }
    const auto each = std::chrono::milliseconds(static_cast<int>(1000 * std::atof(argv[1])));
    platform::PulseSoundPlayer player;
    for (int i = 2; i < argc; ++i) {
        player.play(QString::fromLocal8Bit(argv[i]));
        // Real time: the sound is recorded as it plays.
        std::this_thread::sleep_for(each);
    }
    player.stop();
    return 0;
}
