// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry point for the profile parser and writer.
#include "profilefuzz.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!checkProfileInput(data, size))
        std::abort();
    return 0;
}
