// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/saveoutcome.h"

#include <string>

// The two sound settings, the file that keeps them, and the one sound channel that plays what they
// choose: what the main window's countdown and the options window share. Each front-end provides
// one, over its own settings module and sound player.
class SoundSettings
{
public:
    virtual ~SoundSettings() = default;

    // Fills the settings from their file, once, as the main window loads.
    virtual void loadOption() = 0;
    // The settings as they stand now.
    virtual std::u16string soundEnable() const = 0;
    virtual std::u16string soundPath() const = 0;

    // What the settings library reports, carried to the window unchanged.
    using SaveOutcome = settings::SaveOutcome;
    // Stores both settings in memory (in effect at once, whatever the file makes of them), then
    // writes them to the settings file.
    virtual SaveOutcome storeAndSave(const std::u16string &soundEnable, const std::u16string &soundPath) = 0;
    // The settings file's path as the user knows it, for a message; the one the last save tried.
    virtual std::u16string settingsFileForDisplay() const = 0;

    // Starts a sound without waiting; a new start replaces a sound still playing.
    virtual void playSound(const std::u16string &path) = 0;
    virtual void stopSound() = 0;
};
