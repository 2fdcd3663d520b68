// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/soundsettings.h"

// The sound settings as modPomvale keeps them, played by the platform's sound player: the one
// instance that the main window and the options window share.
SoundSettings &programSoundSettings();
