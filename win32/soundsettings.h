// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/soundsettings.h"

namespace win32 {

// The sound settings as modPomvale keeps them, played by Windows' PlaySound: the one instance that
// the main window and the options window share.
SoundSettings &soundSettings();

} // namespace win32
