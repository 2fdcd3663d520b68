// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/modpath.h"

#include "settings/profilefile.h"

namespace modPath {

settings::Path CombinePath(const settings::Path &dir, const settings::Path &file)
{
    return settings::joinPath(dir, file);
}

} // namespace modPath
