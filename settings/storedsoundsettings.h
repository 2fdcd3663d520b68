// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/soundsettings.h"
#include "settings/modpomvale.h"
#include "settings/profilefile.h"

// The settings half of SoundSettings, over modPomvale, the same in both programs: each program adds
// only how it plays a sound.
class StoredSoundSettings : public SoundSettings
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
        // SaveOption has set IniPath to the file it tried to write.
        return settings::displayPath(modPomvale::IniPath);
    }
};
