// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/seam.h"

namespace modPath {

// The folder and the file name joined with exactly one separator, also at the root.
settings::Path CombinePath(const settings::Path &dir, const settings::Path &file);

} // namespace modPath
