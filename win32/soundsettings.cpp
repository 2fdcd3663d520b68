// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/soundsettings.h"

#include "win32/modpomvale.h"
#include "win32/wintext.h"

#include <mmsystem.h>

namespace win32 {

namespace {

class ProgramSoundSettings final : public SoundSettings
{
public:
    void loadOption() override { modPomvale::LoadOption(); }
    std::u16string soundEnable() const override { return fromWide(modPomvale::SoundEnable); }
    std::u16string soundPath() const override { return fromWide(modPomvale::SoundPath); }

    SaveOutcome storeAndSave(const std::u16string &soundEnable, const std::u16string &soundPath) override
    {
        modPomvale::SoundEnable = toWide(soundEnable);
        modPomvale::SoundPath = toWide(soundPath);
        switch (modPomvale::SaveOption()) {
        case modPomvale::SaveResult::Saved:
            return SaveOutcome::Saved;
        case modPomvale::SaveResult::NotInFileEncoding:
            return SaveOutcome::NotInFileEncoding;
        case modPomvale::SaveResult::Failed:
            break;
        }
        return SaveOutcome::Failed;
    }

    std::u16string settingsFileForDisplay() const override { return fromWide(modPomvale::IniPath); }

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
