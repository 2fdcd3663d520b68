// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/programsoundsettings.h"

#include "platform/services.h"
#include "platform/sound/soundplayer.h"
#include "settings/modini.h"
#include "settings/storedsoundsettings.h"

#include <QGuiApplication>

namespace {

// What the program does with an error of the settings file: the cursor goes back to the default,
// so that a caller that showed a busy cursor is not left with it, and nothing is reported.
void restoreCursor()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
}

class ProgramSoundSettings final : public StoredSoundSettings
{
public:
    ProgramSoundSettings() { modINI::setErrorHandler(restoreCursor); }

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
