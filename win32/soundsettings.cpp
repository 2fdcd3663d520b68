// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/soundsettings.h"

#include "settings/modpomvale.h"
#include "settings/profilefile.h"
#include "win32/wintext.h"

#include <mmsystem.h>

namespace win32 {

namespace {

class ProgramSoundSettings final : public SoundSettings
{
public:
    void loadOption() override { modPomvale::LoadOption(); }
    std::u16string soundEnable() const override { return modPomvale::SoundEnable; }
    std::u16string soundPath() const override { return modPomvale::SoundPath; }

    SaveOutcome storeAndSave(const std::u16string &soundEnable, const std::u16string &soundPath) override
    {
        modPomvale::SoundEnable = soundEnable;
        modPomvale::SoundPath = soundPath;
        return modPomvale::SaveOption();
    }

    std::u16string settingsFileForDisplay() const override
    {
        return settings::displayPath(modPomvale::IniPath);
    }

    void playSound(const std::u16string &path) override
    {
        PlaySoundW(toWide(path).c_str(), nullptr, SND_ASYNC);
    }
    void stopSound() override { PlaySoundW(nullptr, nullptr, SND_PURGE); }
};

} // namespace

SoundSettings &soundSettings()
{
    static ProgramSoundSettings settings;
    return settings;
}

} // namespace win32
