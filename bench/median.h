// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

// The medians the benchmarks print.

// The middle value, or the mean of the middle two for an even count.
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The median time of `runs` calls of work, in nanoseconds.
inline double medianNanoseconds(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    times.reserve(size_t(runs));
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()));
    }
    return median(std::move(times));
}
