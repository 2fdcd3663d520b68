// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace modPomvale {

// Whether the alarm plays its sound. Only the text "1" switches it on: the options window converts
// the text as a number, so a hand-edited " 01" shows its box ticked, but the alarm stays silent until
// an OK stores "1".
inline bool SoundIsOn(std::u16string_view SoundEnable)
{
    return SoundEnable == u"1";
}

} // namespace modPomvale
