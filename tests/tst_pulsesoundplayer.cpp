// SPDX-License-Identifier: GPL-3.0-or-later
// The real sound player where no sound server can be reached, as on a build machine.
#include "platform/sound/pulsesoundplayer.h"

#include <QFile>
#include <QTest>

class tst_PulseSoundPlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadsTheSoundLibraryWithTheFirstSound();
    void playStopAndTeardownReturnWithoutAServer();
};

void tst_PulseSoundPlayer::initTestCase()
{
    // A server that cannot exist, whatever runs on this machine.
    qputenv("PULSE_SERVER", "unix:/nonexistent/pomvale-test/native");
}

namespace {

bool soundLibraryLoaded(const char *name = "/libpulse.so")
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(name);
}

} // namespace

void tst_PulseSoundPlayer::loadsTheSoundLibraryWithTheFirstSound()
{
    // Start-up, and the stop that closing the options window makes, do not pay for a sound library
    // that may never be used.
    QVERIFY(!soundLibraryLoaded());
    QVERIFY(!soundLibraryLoaded("/libsndfile.so"));
    platform::PulseSoundPlayer player;
    player.stop();
    QVERIFY(!soundLibraryLoaded());
    player.play(QString());
    QVERIFY(soundLibraryLoaded());
}

// How long these calls take is a figure of bench/bench_player_calls.cpp; here they must return.
void tst_PulseSoundPlayer::playStopAndTeardownReturnWithoutAServer()
{
    for (int i = 0; i < 3; ++i) {
        platform::PulseSoundPlayer player;
        player.play(QStringLiteral("/nonexistent/alarm.wav"));
        player.stop();
        player.play(QString());
    }
}

QTEST_GUILESS_MAIN(tst_PulseSoundPlayer)
#include "tst_pulsesoundplayer.moc"
