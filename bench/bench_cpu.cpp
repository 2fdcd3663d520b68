// SPDX-License-Identifier: GPL-3.0-or-later
// CPU used by the program while it counts down, and how often its threads wake:
//   pomvale-bench-cpu [WINDOWS] [SECONDS_PER_WINDOW] [--with-sound]
// Starts the real main window at 99:59, as start-up does, and lets it run. With --with-sound the
// real sound player first plays the chime, as after an earlier alarm, so its idle threads count too. Every
// window of SECONDS_PER_WINDOW ticks (10 by default; 6 windows) it reads the process's CPU time and the
// context switches of all its threads; the readings are taken inside the tick handler, so that the
// measurement itself adds no wake-up. Run it offscreen or on a real X server (Xvfb).
#include "app/application.h"
#include "bench/median.h"
#include "platform/runtime.h"
#include "platform/services.h"
#include "platform/sound/soundplayer.h"
#include "platform/widgets/timercontrol.h"
#include "timer/frmmain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Reading
{
    qint64 wallNs = 0;
    double cpuSeconds = 0;
    qint64 switches = 0; // voluntary and involuntary, summed over the threads
    int threads = 0;
};

Reading read(const QElapsedTimer &clock)
{
    Reading reading;
    reading.wallNs = clock.nsecsElapsed();
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    reading.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec
        + usage.ru_stime.tv_usec / 1e6;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(task + QStringLiteral("/status")));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        ++reading.threads;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:") || line.startsWith("nonvoluntary_ctxt_switches:"))
                reading.switches += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        }
    }
    return reading;
}

} // namespace

int main(int argc, char *argv[])
{
    platform::setQtEnvironment(); // as main() does
    QApplication application(argc, argv);
    app::setupApplication(application);
    const int windows = argc > 1 ? std::max(1, atoi(argv[1])) : 6;
    const int perWindow = argc > 2 ? std::max(1, atoi(argv[2])) : 10;

    if (application.arguments().contains(QStringLiteral("--with-sound")))
        platform::soundPlayer().play(QString());

    frmMain window;
    window.show();
    for (const char *name : {"cmdNum9", "cmdNum9", "cmdNum5", "cmdNum9", "cmdStart"})
        QTest::mouseClick(window.findChild<QPushButton *>(name), Qt::LeftButton);

    QElapsedTimer clock;
    clock.start();
    std::vector<Reading> readings;
    std::vector<double> cpuPercent, wakeups;
    int ticks = 0;
    const int settle = 3; // the first ticks still pay for fonts and first paints
    auto *timeTic = window.findChild<platform::TimerControl *>("timeTic");
    QObject::connect(timeTic, &platform::TimerControl::Timer, &application, [&] {
        ++ticks;
        if (ticks < settle || (ticks - settle) % perWindow != 0)
            return;
        readings.push_back(read(clock));
        if (readings.size() < 2)
            return;
        const Reading &a = readings[readings.size() - 2];
        const Reading &b = readings.back();
        const double seconds = (b.wallNs - a.wallNs) / 1e9;
        cpuPercent.push_back(100 * (b.cpuSeconds - a.cpuSeconds) / seconds);
        // The tick itself is one wake-up a second; every switch beyond that is another.
        wakeups.push_back((b.switches - a.switches) / seconds - perWindow / seconds);
        std::printf("window %zu: %.1f s, CPU %.4f %% of one core, %lld switches, %.2f wake-ups/s beyond the "
                    "tick, %d threads\n",
                    cpuPercent.size(), seconds, cpuPercent.back(),
                    static_cast<long long>(b.switches - a.switches), wakeups.back(), b.threads);
        std::fflush(stdout);
        if (int(cpuPercent.size()) == windows)
            application.quit();
    });
    application.exec();

    std::printf("\n%s: median of %d windows of %d ticks: CPU %.4f %% of one core, %.2f wake-ups/s beyond the "
                "tick (worst window %.4f %%, %.2f/s)\n",
                qPrintable(QGuiApplication::platformName()), windows, perWindow, median(cpuPercent),
                median(wakeups), *std::max_element(cpuPercent.begin(), cpuPercent.end()),
                *std::max_element(wakeups.begin(), wakeups.end()));
    return 0;
}
