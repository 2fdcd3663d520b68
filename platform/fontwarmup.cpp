// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fontwarmup.h"

#include <fontconfig/fontconfig.h>

namespace platform {

FontWarmUp::FontWarmUp()
    : m_thread([] { FcInit(); })
{ }

FontWarmUp::~FontWarmUp()
{
    wait();
}

void FontWarmUp::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace platform
