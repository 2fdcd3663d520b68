// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The program's two sound settings and the path of the file that keeps them.
namespace modPomvale {

extern QString IniPath; // full path of the settings file
extern QString SoundEnable; // "1": the alarm plays SoundPath; any other text: no sound
extern QString SoundPath; // the WAV file the alarm plays

// Fills the settings from the file beside the executable (or the user's own copy of it, where the
// folder is not the user's to write), or with "0" and "" when it is missing.
void LoadOption();

// What a save came to; true when both settings were stored.
struct SaveResult
{
    bool saved = false;
    bool notInFileEncoding = false; // a value has no form in the encoding the file is kept in

    explicit operator bool() const { return saved; }
};

// Writes both settings to the file beside the executable (or the user's own copy of it).
SaveResult SaveOption();

} // namespace modPomvale
