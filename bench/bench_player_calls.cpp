// SPDX-License-Identifier: GPL-3.0-or-later
// Times the sound player's calls where no sound server can be reached, as on a machine without
// audio: the slowest of 50 play() and stop() calls, against the 16 ms of one frame of the user
// interface, and the time to create, start and destroy 20 players.
#include "platform/sound/pulsesoundplayer.h"

#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

int main()
{
    // A server that cannot exist, whatever runs on this machine.
    ::setenv("PULSE_SERVER", "unix:/nonexistent/pomvale-bench/native", 1);

    qint64 slowest = 0;
    {
        platform::PulseSoundPlayer player;
        QElapsedTimer clock;
        for (int i = 0; i < 50; ++i) {
            clock.start();
            player.play(i % 2 ? QString() : QStringLiteral("/nonexistent/alarm.wav"));
            slowest = std::max(slowest, clock.nsecsElapsed());
            clock.start();
            player.stop();
            slowest = std::max(slowest, clock.nsecsElapsed());
        }
    }
    std::printf("slowest play()/stop() call of 50 each, no server: %.1f us\n", double(slowest) / 1000.0);

    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 20; ++i) {
        auto player = std::make_unique<platform::PulseSoundPlayer>();
        player->play(QString());
    }
    std::printf("20 players created, playing and destroyed, no server: %.1f ms\n",
                double(clock.nsecsElapsed()) / 1e6);
    return 0;
}
