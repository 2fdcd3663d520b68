// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

namespace win32 {

// The keyboard of a window without a default or a cancel button: Tab and the arrow keys move the
// focus as in a dialog, Enter clicks only a focused push button, and Esc does nothing. True when the
// message was handled (it must not be dispatched again).
bool handleDialogKeys(HWND window, MSG &message);

} // namespace win32
