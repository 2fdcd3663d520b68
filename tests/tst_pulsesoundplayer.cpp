// SPDX-License-Identifier: GPL-3.0-or-later
// The real sound player where no sound server can be reached, as on a build machine.
#include "platform/sound/pulsesoundplayer.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class tst_PulseSoundPlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadsTheSoundLibraryWithTheFirstSound();
    void playStopAndTeardownReturnWithoutAServer();
    void exitWhileTheThreadIsAtWork();
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

// The player's thread fell back to a chime held in a function-local static, which exit destroys
// before the player: exit during a sound then read freed memory (seen under AddressSanitizer).
void tst_PulseSoundPlayer::exitWhileTheThreadIsAtWork()
{
    // A WAV of 4000 empty chunks and no sound: refused, but only once all are read, so that exit
    // comes while the thread reads them and then falls back to the chime. The delays before exit
    // span the thread's start (libpulse, the failed connection, libsndfile) and its reading.
    QTemporaryDir dir;
    QFile file(dir.filePath("chunks.wav"));
    QByteArray chunks = QByteArray("fmt \x10\0\0\0\1\0\1\0\x44\xAC\0\0\x88\x58\x01\0\2\0\x10\0", 24);
    for (int i = 0; i < 4000; ++i)
        chunks += QByteArray("junk\0\0\0\0", 8);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("RIFF" + QByteArray(4, '\xFF') + "WAVE" + chunks);
    file.close();
    for (const char *microseconds : {"0", "20000", "50000", "100000", "150000"}) {
        QProcess program;
        program.start(EXITWHILEPLAYING, {file.fileName(), microseconds});
        QVERIFY(program.waitForFinished(30000));
        QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0,
                 program.readAllStandardError().left(2000).constData());
    }
}

QTEST_GUILESS_MAIN(tst_PulseSoundPlayer)
#include "tst_pulsesoundplayer.moc"
