// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/twips.h"

#include <string_view>

// The options window as both front-ends draw it: no border and no title bar. The controls are
// listed in tab order; the label and the frame take no focus. The frame's controls are placed
// within the frame.
namespace frmOptionDesign {

// The window's title (which shows in no title bar, but names the window to the system and to screen
// readers), its label's caption and its warnings' title.
inline constexpr std::u16string_view Caption = u"オプション画面";
inline constexpr int Width = 3765;
inline constexpr int Height = 2235;

inline constexpr std::u16string_view OKButtonCaption = u"OK";
inline constexpr core::TwipsRect OKButton {120, 1680, 1215, 375};
inline constexpr std::u16string_view CancelButtonCaption = u"ｷｬﾝｾﾙ";
inline constexpr core::TwipsRect CancelButton {2400, 1680, 1215, 375};
inline constexpr std::u16string_view chkSoundEnableCaption = u"時間経過時、音を鳴らす";
inline constexpr core::TwipsRect chkSoundEnable {120, 360, 2535, 375};
// Wider than the window on purpose: the window's right edge cuts it off after its words.
inline constexpr core::TwipsRect lblTitle {120, 120, 4575, 255};

inline constexpr std::u16string_view frameSoundCaption = u"鳴らしたい音のファイル";
inline constexpr core::TwipsRect frameSound {0, 720, 3735, 855};
inline constexpr std::u16string_view txtFileNameText = u"c:\\";
inline constexpr core::TwipsRect txtFileName {120, 360, 2775, 375};
inline constexpr core::TwipsRect cmdOpenFile {2880, 360, 375, 375};
inline constexpr std::u16string_view cmdOpenFileToolTip = u"wavファイルを参照します。";
inline constexpr core::TwipsRect cmdPlay {3240, 360, 375, 375};
// The picture buttons show no caption; these names tell them apart to a screen reader.
inline constexpr std::u16string_view cmdOpenFileName = u"wavファイルを参照";
inline constexpr std::u16string_view cmdPlayName = u"音を試聴";

} // namespace frmOptionDesign
