// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/elapsedclock.h"

namespace platform {

// The system's clock since boot, suspended time included (CLOCK_BOOTTIME): a countdown left running
// over a laptop's sleep rings at its time, or at once on waking when that time has passed.
class BootClock final : public ElapsedClock
{
public:
    std::int64_t milliseconds() const override;
};

} // namespace platform
