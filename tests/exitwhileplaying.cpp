// SPDX-License-Identifier: GPL-3.0-or-later
// Ends the program while the sound player's thread is still at work on a sound, as when the user
// closes the program right at the alarm. The player is the program's own, held as the program holds
// it, so exit tears down every other static first and the player's thread last:
//   exitwhileplaying FILE MICROSECONDS
#include "platform/services.h"
#include "platform/sound/soundplayer.h"

#include <QString>

#include <cstdlib>
#include <unistd.h>

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    for (int i = 0; i < 3; ++i)
        platform::soundPlayer().play(QString::fromLocal8Bit(argv[1]));
    ::usleep(static_cast<useconds_t>(std::atoi(argv[2])));
    return 0;
}
