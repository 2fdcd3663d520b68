// SPDX-License-Identifier: GPL-3.0-or-later
// Tick accuracy of the countdown's timer control against the monotonic clock, and the countdown
// across a stopped process:
//   pomvale-bench-ticks [TICKS]
// Runs five timers at once, started 200 ms apart (when Start is pressed matters for a coarse
// timer), for TICKS ticks (60 by default), first with the machine idle, then with every other
// core kept busy. Prints, per case, the median and worst over the five timers of the total drift
// after the last tick and of the worst single tick's distance from its due time, and the load
// average when the case ended (other work on the machine shows there).
// Then the real main window in a child process counts down 00:10 while the process is stopped
// (SIGSTOP) 2 s after Start and continued (SIGCONT) 5 s later, as a debugger, a loaded machine or a
// suspended laptop does: it prints when the alarm came after Start, which should be about 10 s.
#include "platform/services.h"
#include "platform/sound/soundplayer.h"
#include "platform/widgets/messagebox.h"
#include "platform/widgets/timercontrol.h"
#include "timer/frmmain.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int Timers = 5;

struct Run
{
    std::unique_ptr<platform::TimerControl> timer;
    qint64 startedNs = 0;
    std::vector<qint64> tickNs;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void measure(QCoreApplication &application, int ticks, const char *label)
{
    QElapsedTimer clock;
    clock.start();
    std::vector<Run> runs(Timers);
    int finished = 0;
    for (int i = 0; i < Timers; ++i) {
        QTimer::singleShot(200 * i, &application, [&, i] {
            Run &run = runs[i];
            run.timer = std::make_unique<platform::TimerControl>();
            run.timer->setInterval(1000);
            QObject::connect(run.timer.get(), &platform::TimerControl::Timer, &application, [&, i] {
                Run &r = runs[i];
                r.tickNs.push_back(clock.nsecsElapsed());
                if (int(r.tickNs.size()) == ticks) {
                    r.timer->setEnabled(false);
                    if (++finished == Timers)
                        application.quit();
                }
            });
            run.startedNs = clock.nsecsElapsed();
            run.timer->setEnabled(true);
        });
    }
    application.exec();

    std::vector<double> drifts, worstTicks;
    for (const Run &run : runs) {
        const double drift = (run.tickNs.back() - run.startedNs) / 1e6 - 1000.0 * ticks;
        // A tick is off by how far it comes from its due time, start + n seconds.
        double worst = 0;
        for (size_t n = 0; n < run.tickNs.size(); ++n) {
            const double error = (run.tickNs[n] - run.startedNs) / 1e6 - 1000.0 * double(n + 1);
            if (std::abs(error) > std::abs(worst))
                worst = error;
        }
        drifts.push_back(drift);
        worstTicks.push_back(worst);
    }
    auto absWorst = [](const std::vector<double> &values) {
        return *std::max_element(values.begin(), values.end(),
                                 [](double a, double b) { return std::abs(a) < std::abs(b); });
    };
    std::printf("%-28s drift after %d ticks: median %+.2f ms, worst %+.2f ms;"
                " worst single tick: median %+.2f ms, worst %+.2f ms\n",
                label, ticks, median(drifts), absWorst(drifts), median(worstTicks), absWorst(worstTicks));
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    if (loadavg.open(QIODevice::ReadOnly))
        std::printf("%-28s load average %s", "", loadavg.readLine().constData());
    std::fflush(stdout);
}

// The child of the stall case: tells the parent when Start was pressed, then when the alarm came.
class AlarmReporter final : public platform::MessageBox, public platform::SoundPlayer
{
public:
    AlarmReporter(int reportFd, const QElapsedTimer &sinceStart)
        : m_reportFd(reportFd)
        , m_sinceStart(sinceStart)
    { }

    void show(QWidget *, const QString &, const QString &) override
    {
        report(std::to_string(m_sinceStart.elapsed()) + "\n");
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    void warn(QWidget *, const QString &, const QString &) override { }
    void play(const QString &) override { }
    void stop() override { }

    void report(const std::string &line) const
    {
        if (::write(m_reportFd, line.data(), line.size()) < 0)
            std::perror("write");
    }

private:
    int m_reportFd;
    const QElapsedTimer &m_sinceStart;
};

[[noreturn]] void runStalledCountdown(int argc, char *argv[], int reportFd)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QElapsedTimer sinceStart;
    AlarmReporter reporter(reportFd, sinceStart);
    platform::setMessageBox(&reporter);
    platform::setSoundPlayer(&reporter);
    frmMain window;
    window.show();
    for (const char *name : {"cmdNum0", "cmdNum0", "cmdNum1", "cmdNum0", "cmdStart"}) {
        if (std::string(name) == "cmdStart")
            sinceStart.start();
        window.findChild<QPushButton *>(QLatin1String(name))->click();
    }
    reporter.report("started\n");
    application.exec();
    platform::setMessageBox(nullptr);
    platform::setSoundPlayer(nullptr);
    std::_Exit(0);
}

// One line from fd within a time limit; empty when none came.
std::string readLine(int fd, int timeoutMs)
{
    std::string line;
    char c = 0;
    pollfd ready {fd, POLLIN, 0};
    while (::poll(&ready, 1, timeoutMs) > 0 && ::read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

void measureStall(int argc, char *argv[])
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        runStalledCountdown(argc, argv, pipeFds[1]);
    }
    ::close(pipeFds[1]);
    const char *label = "SIGSTOP 5 s after 2 s:";
    if (readLine(pipeFds[0], 30000) == "started") {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        ::kill(child, SIGSTOP);
        std::this_thread::sleep_for(std::chrono::seconds(5));
        ::kill(child, SIGCONT);
        const std::string alarmMs = readLine(pipeFds[0], 30000);
        if (!alarmMs.empty())
            std::printf("%-28s 00:10 rang %.2f s after Start (10 s due)\n", label, std::stod(alarmMs) / 1000);
        else
            std::printf("%-28s no alarm within 30 s\n", label);
    } else {
        std::printf("%-28s the countdown did not start\n", label);
    }
    std::fflush(stdout);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(pipeFds[0]);
}

} // namespace

int main(int argc, char *argv[])
{
    // Forked before any thread or Qt object exists.
    measureStall(argc, argv);

    QCoreApplication application(argc, argv);
    const int ticks = argc > 1 ? std::max(1, atoi(argv[1])) : 60;

    measure(application, ticks, "idle:");

    std::atomic<bool> busy = true;
    std::vector<std::thread> spinners;
    const unsigned others = std::max(1u, std::thread::hardware_concurrency() - 1);
    for (unsigned i = 0; i < others; ++i)
        spinners.emplace_back([&busy] {
            volatile unsigned long n = 0;
            while (busy.load(std::memory_order_relaxed))
                n = n + 1;
        });
    char label[64];
    std::snprintf(label, sizeof label, "%u other core(s) busy:", others);
    measure(application, ticks, label);
    busy = false;
    for (std::thread &spinner : spinners)
        spinner.join();
    return 0;
}
