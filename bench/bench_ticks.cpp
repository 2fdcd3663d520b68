// SPDX-License-Identifier: GPL-3.0-or-later
// Tick accuracy of the countdown's timer control against the monotonic clock:
//   pomvale-bench-ticks [TICKS]
// Runs five timers at once, started 200 ms apart (when Start is pressed matters for a coarse
// timer), for TICKS ticks (60 by default), first with the machine idle, then with every other
// core kept busy. Prints, per case, the median and worst over the five timers of the total drift
// after the last tick and of the worst single tick's distance from its due time, and the load
// average when the case ended (other work on the machine shows there).
#include "platform/widgets/timercontrol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
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

} // namespace

int main(int argc, char *argv[])
{
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
