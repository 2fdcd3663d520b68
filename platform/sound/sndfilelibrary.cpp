// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/sndfilelibrary.h"

#include <QLibrary>

#include <optional>

namespace platform {

namespace {

template<class Function> bool resolve(QLibrary &library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

std::optional<SndfileLibrary> loadLibrary()
{
    // Never unloaded: the player's threads may be in its code until the program ends.
    QLibrary library(QStringLiteral("sndfile"), 1);
    if (!library.load())
        return std::nullopt;
    SndfileLibrary functions;
    bool complete = true;
#define POMVALE_SNDFILE_RESOLVE(name) complete = complete && resolve(library, #name, functions.name);
    POMVALE_SNDFILE_FUNCTIONS(POMVALE_SNDFILE_RESOLVE)
#undef POMVALE_SNDFILE_RESOLVE
    if (!complete)
        return std::nullopt;
    return functions;
}

} // namespace

const SndfileLibrary *SndfileLibrary::load()
{
    // Trivially destructible: nothing here is torn down at exit under a thread that still decodes.
    static const std::optional<SndfileLibrary> library = loadLibrary();
    return library ? &*library : nullptr;
}

} // namespace platform
