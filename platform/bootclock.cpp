// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/bootclock.h"

#include <ctime>

namespace platform {

std::int64_t BootClock::milliseconds() const
{
    timespec now {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return std::int64_t {now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

} // namespace platform
