// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace modPath {

// The folder and the file name joined with exactly one separator, also at the root.
QString CombinePath(const QString &dir, const QString &file);

} // namespace modPath
