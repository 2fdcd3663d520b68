// SPDX-License-Identifier: GPL-3.0-or-later
// Runs one real alarm of the main window with the sound on, for the end-to-end sound check:
//   pomvale-e2e-alarm SOUND.wav OPEN_MS
// Enters 00:01, starts, fires the tick, and closes the real message box OPEN_MS after it opened.
// Prints when the box was closed and what the display showed.
#include "app/application.h"
#include "core/elapsedclock.h"
#include "platform/services.h"
#include "platform/widgets/timercontrol.h"
#include "settings/modpomvale.h"
#include "timer/frmmain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    app::setupApplication(application);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SOUND.wav OPEN_MS\n", argv[0]);
        return 2;
    }
    const int openMs = QByteArray(argv[2]).toInt();
    // The countdown's clock, put a second on by hand so that the tick fired below counts one.
    struct HandClock final : ElapsedClock
    {
        std::int64_t now = 0;
        std::int64_t milliseconds() const override { return now; }
    } clock;
    platform::setElapsedClock(&clock);

    frmMain window;
    window.show();
    // As when the user clicks Start/Stop: the program is the active one, and the box is modal.
    if (!QTest::qWaitForWindowActive(&window))
        return 1;
    // Set after the window has loaded its own settings: the alarm reads them when it comes.
    modPomvale::SoundEnable = QString("1").toStdU16String();
    modPomvale::SoundPath = QString(QString::fromLocal8Bit(argv[1])).toStdU16String();

    for (const char *name : {"cmdNum0", "cmdNum0", "cmdNum0", "cmdNum1"})
        QTest::mouseClick(window.findChild<QPushButton *>(name), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QPushButton *>("cmdStart"), Qt::LeftButton);
    const QString started = window.findChild<QLabel *>("lblDisp")->text();

    QElapsedTimer sinceAlarm;
    bool closed = false;
    // Watches for the box without waking when none is due: it opens right after the tick.
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, &window, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || sinceAlarm.elapsed() < openMs)
            return;
        closer.stop();
        std::printf("closed %lld ms after the alarm\n", static_cast<long long>(sinceAlarm.elapsed()));
        closed = true;
        QTest::mouseClick(box->buttons().value(0), Qt::LeftButton);
    });

    auto *timeTic = window.findChild<platform::TimerControl *>("timeTic");
    sinceAlarm.start();
    closer.start();
    clock.now += 1000;
    emit timeTic->Timer(); // returns once the box has been closed
    const QString after = window.findChild<QLabel *>("lblDisp")->text();
    std::printf("display %s then %s\n", qPrintable(started), qPrintable(after));
    std::fflush(stdout);
    if (!closed || after != "00:01")
        return 1;

    // Stay a while, so the check can hear that the sound stays off.
    QTimer::singleShot(1000, &application, &QApplication::quit);
    return QApplication::exec();
}
