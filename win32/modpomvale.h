// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The program's two sound settings and the path of the file that keeps them, "Pomvale.ini" beside
// the executable, or in %APPDATA%\Pomvale when the user may not write there (win32/inilocation.h),
// read and written through Windows' profile functions.
namespace modPomvale {

extern std::wstring IniPath; // full path of the settings file
extern std::wstring SoundEnable; // "1": the alarm plays SoundPath; any other text: no sound
extern std::wstring SoundPath; // the WAV file the alarm plays

// Fills the settings from the file, or with "0" and "" when it is missing.
void LoadOption();

enum class SaveResult {
    Saved,
    Failed,
    NotInFileEncoding, // the file is kept in the ANSI code page, which has no form for a new value
};

// Writes both settings to the file: whole or not at all.
SaveResult SaveOption();

} // namespace modPomvale
