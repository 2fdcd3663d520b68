// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <thread>

namespace platform {

// Loads the system's font configuration on a second thread while Qt starts up.
// Reading the configuration is the largest single cost before the first paint, and
// nothing else needs the thread that long: wait() returns before any text is laid out.
class FontWarmUp final
{
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    // Blocks until the configuration is loaded; later calls return at once.
    void wait();

private:
    std::thread m_thread;
};

} // namespace platform
