// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/saveoutcome.h"
#include "settings/seam.h"

#include <string>

// The program's two sound settings and the path of the file that keeps them, "Pomvale.ini" beside
// the executable, or the user's own copy where that folder is not the user's to write.
namespace modPomvale {

extern settings::Path IniPath; // full path of the settings file
extern std::u16string SoundEnable; // "1": the alarm plays SoundPath; any other text: no sound
extern std::u16string SoundPath; // the WAV file the alarm plays

// Fills the settings from the file, or with "0" and "" when it is missing.
void LoadOption();

// Writes both settings to the file: both or neither.
settings::SaveOutcome SaveOption();

// The seam the settings go through: the platform's, unless a test has put its own.
settings::Seam &seam();
void setSeam(settings::Seam *seam);
// Makes the executable's folder `folder` instead, so tests can place the settings file; an empty
// folder brings the real one back.
void setExecutableFolderOverride(const settings::Path &folder);

} // namespace modPomvale
