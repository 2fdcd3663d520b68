// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/programsoundsettings.h"

#include "platform/services.h"
#include "platform/sound/soundplayer.h"
#include "settings/modpomvale.h"

#include <QDir>

namespace {

class ProgramSoundSettings final : public SoundSettings
{
public:
    void loadOption() override { modPomvale::LoadOption(); }
    std::u16string soundEnable() const override { return modPomvale::SoundEnable.toStdU16String(); }
    std::u16string soundPath() const override { return modPomvale::SoundPath.toStdU16String(); }

    SaveOutcome storeAndSave(const std::u16string &soundEnable, const std::u16string &soundPath) override
    {
        modPomvale::SoundEnable = QString::fromStdU16String(soundEnable);
        modPomvale::SoundPath = QString::fromStdU16String(soundPath);
        const modPomvale::SaveResult saved = modPomvale::SaveOption();
        if (saved.notInFileEncoding)
            return SaveOutcome::NotInFileEncoding;
        return saved ? SaveOutcome::Saved : SaveOutcome::Failed;
    }

    std::u16string settingsFileForDisplay() const override
    {
        // SaveOption has set IniPath to the file it tried to write.
        return QDir::toNativeSeparators(modPomvale::IniPath).toStdU16String();
    }

    void playSound(const std::u16string &path) override
    {
        platform::soundPlayer().play(QString::fromStdU16String(path));
    }
    void stopSound() override { platform::soundPlayer().stop(); }
};

} // namespace

SoundSettings &programSoundSettings()
{
    static ProgramSoundSettings settings;
    return settings;
}
