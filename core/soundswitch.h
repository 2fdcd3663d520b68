// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/checkvalue.h"
#include "core/textnumber.h"

#include <optional>
#include <string_view>

namespace modPomvale {

// The options window's check box for a stored Enable. The text is read
// as a number (blanks, leading zeros, a sign and a fraction rounded to even allowed: " 01" and "1.4"
// tick the box); a hand-edited value that no state fits shows clear rather than failing.
inline CheckValue CheckValueOf(std::u16string_view SoundEnable)
{
    const std::optional<std::int16_t> stored = core::toInt16(SoundEnable);
    return stored && *stored >= 0 && *stored <= 2 ? static_cast<CheckValue>(*stored) : CheckValue::Unchecked;
}

// Whether the alarm plays its sound: exactly when the options window shows the box ticked, so that
// the user who sees the sound switched on hears it. The file keeps the text as it was written.
inline bool SoundIsOn(std::u16string_view SoundEnable)
{
    return CheckValueOf(SoundEnable) == CheckValue::Checked;
}

} // namespace modPomvale
