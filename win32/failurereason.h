// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win32 {

// Why a call the program needs failed, for a message box: what failed and the system's own words
// for the calling thread's last error, with its number.
std::wstring failureReason(const wchar_t *what);

// An error box over owner (or over no window) with the program's name as its title: what the user
// asked for could not be done, then why.
void showFailure(HWND owner, std::wstring_view headline, const std::wstring &reason);

} // namespace win32
