// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace modPath {

// The folder and the file name joined with exactly one backslash, also at a drive's root.
std::wstring CombinePath(const std::wstring &dir, const std::wstring &file);

} // namespace modPath
