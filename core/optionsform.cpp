// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/optionsform.h"

#include "core/optionswindow.h"
#include "core/optionwindowdesign.h"
#include "core/soundsettings.h"
#include "core/soundswitch.h"

#include <string>

namespace {

// The one entry of the file dialog's filter, as "description|pattern".
constexpr std::u16string_view WavFilter = u"wavファイル(*.wav)|*.wav";

} // namespace

OptionsForm::OptionsForm(OptionsWindow &window, SoundSettings &settings)
    : m_window(window)
    , m_settings(settings)
{ }

CheckValue OptionsForm::NextCheckValue(CheckValue value)
{
    return value == CheckValue::Checked ? CheckValue::Unchecked : CheckValue::Checked;
}

void OptionsForm::Form_Load()
{
    m_window.setPathText(m_settings.soundPath());
    m_window.setCheckValue(modPomvale::CheckValueOf(m_settings.soundEnable()));
    UpdateSoundFrame();
}

void OptionsForm::Form_Unload()
{
    m_settings.stopSound(); // a preview still playing ends with the window
}

void OptionsForm::chkSoundEnable_Click()
{
    UpdateSoundFrame();
}

void OptionsForm::UpdateSoundFrame()
{
    m_window.setFrameVisible(m_window.checkValue() == CheckValue::Checked);
}

void OptionsForm::cmdOpenFile_Click()
{
    const std::u16string fileName = m_window.showOpenDialog(std::u16string(WavFilter));
    if (fileName.empty()) // cancelled: the path box keeps its text
        return;
    m_window.setPathText(fileName);
}

void OptionsForm::cmdPlay_Click()
{
    // The text as it stands, saved or not, empty or not; the player reports nothing back.
    m_settings.playSound(m_window.pathText());
}

void OptionsForm::OKButton_Click()
{
    // The check box's value as the file stores it, in decimal: "0", "1" or "2".
    const std::u16string enable(1, static_cast<char16_t>(u'0' + static_cast<int>(m_window.checkValue())));
    // Untrimmed, and kept while the sound is off. A value longer than the box holds shows cut; left
    // as it was shown, the whole value stays.
    std::u16string path = m_settings.soundPath();
    const std::u16string shown = m_window.pathText();
    if (path.size() <= MaxPathLength || std::u16string_view(path).substr(0, MaxPathLength) != shown)
        path = shown;

    const SoundSettings::SaveOutcome saved = m_settings.storeAndSave(enable, path);
    // Either way the new values stay in effect until the program ends, and the user should know
    // that they end there. One sentence each, no line break: the box wraps it to its own width.
    if (saved == SoundSettings::SaveOutcome::NotInFileEncoding) {
        // Not a fault of the disk: the file's encoding (kept for the sake of its other bytes) has
        // no form for a character of the new value.
        m_window.showWarning(u"設定ファイル「" + m_settings.settingsFileForDisplay()
                                 + u"」の文字コードでは新しい設定を書き込めないため、"
                                   u"変更した設定はプログラムを終了するまでの間だけ有効です。",
                             std::u16string(frmOptionDesign::Caption));
    } else if (saved == SoundSettings::SaveOutcome::Failed) {
        m_window.showWarning(u"設定ファイル「" + m_settings.settingsFileForDisplay()
                                 + u"」に書き込めなかったため、"
                                   u"変更した設定はプログラムを終了するまでの間だけ有効です。",
                             std::u16string(frmOptionDesign::Caption));
    }
    m_window.unload();
}

void OptionsForm::CancelButton_Click()
{
    m_window.unload();
}

void OptionsForm::txtFileName_GotFocus()
{
    m_window.selectAllPathText();
}
