// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/modpath.h"

namespace modPath {

std::wstring CombinePath(const std::wstring &dir, const std::wstring &file)
{
    if (!dir.empty() && (dir.back() == L'\\' || dir.back() == L'/'))
        return dir + file;
    return dir + L'\\' + file;
}

} // namespace modPath
