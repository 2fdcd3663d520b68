// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/pulselibrary.h"

#include <QLibrary>

#include <optional>

namespace platform {

namespace {

template<class Function> bool resolve(QLibrary &library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

std::optional<PulseLibrary> loadLibrary()
{
    // Never unloaded: the player's threads may be in its code until the program ends.
    QLibrary library(QStringLiteral("pulse"), 0);
    if (!library.load())
        return std::nullopt;
    PulseLibrary functions;
    bool complete = true;
#define POMVALE_PULSE_RESOLVE(name) complete = complete && resolve(library, #name, functions.name);
    POMVALE_PULSE_FUNCTIONS(POMVALE_PULSE_RESOLVE)
#undef POMVALE_PULSE_RESOLVE
    if (!complete)
        return std::nullopt;
    return functions;
}

} // namespace

const PulseLibrary *PulseLibrary::load()
{
    static const std::optional<PulseLibrary> library = loadLibrary();
    return library ? &*library : nullptr;
}

} // namespace platform
