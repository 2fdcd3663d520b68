// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/twips.h"

#include <array>
#include <string_view>

// The main window as both front-ends draw it. The controls are listed in tab order: the keypad as
// the table has it, then Reset, then Start/Stop; the display takes no focus.
namespace frmMainDesign {

inline constexpr std::u16string_view Caption = u"Pomvale";
// The menu bar's only entry, with no submenu: Alt+O acts at once.
inline constexpr std::u16string_view mnOptionCaption = u"オプション(&O)";
// The client area below the menu bar; a fixed single border around it.
inline constexpr int ClientWidth = 1980;
inline constexpr int ClientHeight = 3720;

inline constexpr std::u16string_view lblDispCaption = u"03:00";
inline constexpr core::TwipsRect lblDisp {0, 0, 1935, 615};
inline constexpr std::u16string_view DisplayFontName = u"ＭＳ ゴシック";
inline constexpr int DisplayFontPoints = 24;

struct DigitButton
{
    int index; // the digit on the button, and its Index in cmdNum
    core::TwipsRect rect;
};
inline constexpr int DigitSize = 495;
// The keypad in tab order: 1, then 0, then 2 to 9.
inline constexpr std::array<DigitButton, 10> cmdNum {{
    {1, {120, 720, DigitSize, DigitSize}},
    {0, {120, 2520, DigitSize, DigitSize}},
    {2, {720, 720, DigitSize, DigitSize}},
    {3, {1320, 720, DigitSize, DigitSize}},
    {4, {120, 1320, DigitSize, DigitSize}},
    {5, {720, 1320, DigitSize, DigitSize}},
    {6, {1320, 1320, DigitSize, DigitSize}},
    {7, {120, 1920, DigitSize, DigitSize}},
    {8, {720, 1920, DigitSize, DigitSize}},
    {9, {1320, 1920, DigitSize, DigitSize}},
}};

inline constexpr std::u16string_view cmdResetCaption = u"Reset";
inline constexpr core::TwipsRect cmdReset {720, 2520, 1095, 495};
inline constexpr std::u16string_view cmdStartCaption = u"Start/Stop";
inline constexpr core::TwipsRect cmdStart {120, 3120, 1695, 495};

// The one-second tick of timeTic.
inline constexpr int TimerInterval = 1000; // milliseconds

} // namespace frmMainDesign
