// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The clock the countdown measures its seconds with. It never goes back and goes on while the
// machine is suspended, so that a countdown follows the time the user lives through. Each
// front-end supplies its system's; the core's tests set one by hand.
class ElapsedClock
{
public:
    virtual ~ElapsedClock() = default;

    // Milliseconds since a fixed point of the clock's own choosing.
    virtual std::int64_t milliseconds() const = 0;
};
