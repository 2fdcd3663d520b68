// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/seam.h"

#include <string>

// Reading and writing single keys of the settings file. Neither function lets an error escape: on
// any failure the error handler runs (the program's windows put a busy cursor back there) and the
// result is false.
namespace modINI {

// True when a non-empty value was read; value is then set to it whole, and left as it was otherwise.
bool ReadIni(const settings::Path &file, const std::u16string &section, const std::u16string &key,
             std::u16string &value);

// True when the file holds key=value in the section afterwards.
bool WriteIni(const settings::Path &file, const std::u16string &section, const std::u16string &key,
              const std::u16string &value);

// What runs when reading or writing fails for another reason than a missing key.
void setErrorHandler(void (*handler)());

} // namespace modINI
