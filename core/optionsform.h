// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/checkvalue.h"

class OptionsWindow;
class SoundSettings;

// The options window's decisions: filling it from the settings, the frame that follows the check box,
// browsing, previewing, and what OK stores and says. Knows no toolkit; its window is told what to do.
class OptionsForm final
{
public:
    // The longest path the file functions of any desktop system take (32,767 UTF-16 units); the path
    // box holds no more.
    static constexpr int MaxPathLength = 32767;

    OptionsForm(OptionsWindow &window, SoundSettings &settings);
    OptionsForm(const OptionsForm &) = delete;
    OptionsForm &operator=(const OptionsForm &) = delete;

    // The check box's value after a click or Space: only the program sets the grayed state (from a
    // hand-edited settings file), so a click moves between clear and ticked, and from grayed to ticked.
    static CheckValue NextCheckValue(CheckValue value);

    void Form_Load();
    void Form_Unload();
    void chkSoundEnable_Click();
    void cmdOpenFile_Click();
    void cmdPlay_Click();
    void OKButton_Click();
    void CancelButton_Click();
    void txtFileName_GotFocus();

private:
    void UpdateSoundFrame();

    OptionsWindow &m_window;
    SoundSettings &m_settings;
};
