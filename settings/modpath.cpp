// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/modpath.h"

#include "platform/paths.h"

namespace modPath {

QString CombinePath(const QString &dir, const QString &file)
{
    return platform::joinPath(dir, file);
}

} // namespace modPath
