// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sndfile.h>

namespace platform {

// The libsndfile functions that the WAV stream calls.
#define POMVALE_SNDFILE_FUNCTIONS(X)                                                                         \
    X(sf_close)                                                                                              \
    X(sf_open_virtual)                                                                                       \
    X(sf_readf_float)

// libsndfile, loaded when the first sound file is opened rather than linked, as libpulse is: start-up
// does not pay for it. Where it is missing, every file plays as the chime.
struct SndfileLibrary
{
    // NOLINTNEXTLINE(bugprone-macro-parentheses): the argument is the member's name, not a value
#define POMVALE_SNDFILE_POINTER(name) decltype(&::name) name = nullptr;
    POMVALE_SNDFILE_FUNCTIONS(POMVALE_SNDFILE_POINTER)
#undef POMVALE_SNDFILE_POINTER

    // The loaded library, or nullptr where libsndfile is missing.
    static const SndfileLibrary *load();
};

} // namespace platform
