// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/soundsettings.h"

#include "settings/storedsoundsettings.h"
#include "win32/wintext.h"

#include <mmsystem.h>

namespace win32 {

namespace {

class ProgramSoundSettings final : public StoredSoundSettings
{
public:
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
