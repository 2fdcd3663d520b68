// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

namespace win32 {

// Keeps a window's focused control while another window is active, as Windows' dialog manager does
// for a dialog: saved when the window goes inactive (a message box, an owned window, the file
// dialog, another program), given back when it is active again. Without it the activated window
// would take the focus itself, and the keys would reach no button.
class FocusKeeper final
{
public:
    // From the window procedure on WM_ACTIVATE, instead of DefWindowProc.
    void onActivate(HWND window, WPARAM wParam);

private:
    HWND m_focus = nullptr;
};

// Whether the keyboard is with none of the other programs: the foreground window is one of this
// program's, or there is none.
bool foregroundIsOurs();

} // namespace win32
