// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <pulse/pulseaudio.h>

namespace platform {

// The libpulse functions that the sound player calls.
#define POMVALE_PULSE_FUNCTIONS(X)                                                                           \
    X(pa_channel_map_init_extend)                                                                            \
    X(pa_context_connect)                                                                                    \
    X(pa_context_disconnect)                                                                                 \
    X(pa_context_get_state)                                                                                  \
    X(pa_context_new_with_proplist)                                                                          \
    X(pa_context_set_state_callback)                                                                         \
    X(pa_context_unref)                                                                                      \
    X(pa_operation_unref)                                                                                    \
    X(pa_proplist_free)                                                                                      \
    X(pa_proplist_new)                                                                                       \
    X(pa_proplist_sets)                                                                                      \
    X(pa_stream_connect_playback)                                                                            \
    X(pa_stream_disconnect)                                                                                  \
    X(pa_stream_drain)                                                                                       \
    X(pa_stream_new)                                                                                         \
    X(pa_stream_set_write_callback)                                                                          \
    X(pa_stream_unref)                                                                                       \
    X(pa_stream_write)                                                                                       \
    X(pa_threaded_mainloop_free)                                                                             \
    X(pa_threaded_mainloop_get_api)                                                                          \
    X(pa_threaded_mainloop_lock)                                                                             \
    X(pa_threaded_mainloop_new)                                                                              \
    X(pa_threaded_mainloop_signal)                                                                           \
    X(pa_threaded_mainloop_start)                                                                            \
    X(pa_threaded_mainloop_stop)                                                                             \
    X(pa_threaded_mainloop_unlock)                                                                           \
    X(pa_threaded_mainloop_wait)

// libpulse, loaded when the first sound is made rather than linked: the library and the dozen
// codec libraries it pulls in would cost every start about 5 ms and 1.5 MiB, for a sound that may
// never play.
struct PulseLibrary
{
    // NOLINTNEXTLINE(bugprone-macro-parentheses): the argument is the member's name, not a value
#define POMVALE_PULSE_POINTER(name) decltype(&::name) name = nullptr;
    POMVALE_PULSE_FUNCTIONS(POMVALE_PULSE_POINTER)
#undef POMVALE_PULSE_POINTER

    // The loaded library, or nullptr where libpulse is missing: then nothing is heard.
    static const PulseLibrary *load();
};

} // namespace platform
