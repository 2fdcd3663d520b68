// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>

namespace win32 {

// Why the program could not start, for its message box: what failed and the system's own words for
// the calling thread's last error, with its number.
std::wstring startFailure(const wchar_t *what);

} // namespace win32
