// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/pcmsound.h"

namespace platform {

// The program's own short chime, heard where the chosen sound cannot be played. It needs no
// decoder, so that it plays even where libsndfile is missing. Each call reads it afresh: the
// player keeps its own copy, so no shared copy can be torn down at exit under the player's thread.
PcmSound loadChime();

} // namespace platform
