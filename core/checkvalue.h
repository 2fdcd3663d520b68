// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The options window's check box for the sound, by the number the settings file stores for it
// (Enable=0, 1 or 2). Only the program sets Grayed, from a hand-edited file.
enum class CheckValue : std::int16_t {
    Unchecked = 0,
    Checked = 1,
    Grayed = 2,
};
