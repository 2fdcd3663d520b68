// The real sound player where no sound server can be reached, as on a build machine.
#include "platform/sound/pulsesoundplayer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <memory>

class tst_PulseSoundPlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadsTheSoundLibraryWithTheFirstPlayer();
    void playAndStopReturnAtOnceWithoutAServer();
    void goesAwayAtOnceWhilePlaying();
};

void tst_PulseSoundPlayer::initTestCase()
{
    // A server that cannot exist, whatever runs on this machine.
    qputenv("PULSE_SERVER", "unix:/nonexistent/pomvale-test/native");
}

namespace {

bool soundLibraryLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/libpulse.so");
}

} // namespace

void tst_PulseSoundPlayer::loadsTheSoundLibraryWithTheFirstPlayer()
{
    // Start-up does not pay for a sound library that may never be used.
    QVERIFY(!soundLibraryLoaded());
    platform::PulseSoundPlayer player;
    QVERIFY(soundLibraryLoaded());
}

void tst_PulseSoundPlayer::playAndStopReturnAtOnceWithoutAServer()
{
    platform::PulseSoundPlayer player;
    QElapsedTimer clock;
    qint64 slowest = 0;
    for (int i = 0; i < 50; ++i) {
        clock.start();
        player.play(i % 2 ? QString() : QStringLiteral("/nonexistent/alarm.wav"));
        slowest = std::max(slowest, clock.nsecsElapsed());
        clock.start();
        player.stop();
        slowest = std::max(slowest, clock.nsecsElapsed());
    }
    // A frame of the user interface is 16 ms; a call must take a small part of one.
    QVERIFY2(slowest < 5'000'000, qPrintable(QString::number(slowest / 1000) + " us"));
}

void tst_PulseSoundPlayer::goesAwayAtOnceWhilePlaying()
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 20; ++i) {
        auto player = std::make_unique<platform::PulseSoundPlayer>();
        player->play(QString());
        player.reset();
    }
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed()) + " ms"));
}

QTEST_GUILESS_MAIN(tst_PulseSoundPlayer)
#include "tst_pulsesoundplayer.moc"
