// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/focuskeeper.h"

namespace win32 {

void FocusKeeper::onActivate(HWND window, WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus))
            m_focus = focus;
        return;
    }
    if (HIWORD(wParam)) // activated while minimized: the focus comes back with the window
        return;
    HWND focus = m_focus && IsWindow(m_focus) && IsChild(window, m_focus) ? m_focus : nullptr;
    // A control that was disabled or hidden meanwhile hands on to the next one in tab order.
    if (!focus || !IsWindowEnabled(focus) || !IsWindowVisible(focus))
        focus = GetNextDlgTabItem(window, focus, FALSE);
    if (focus)
        SetFocus(focus);
}

bool foregroundIsOurs()
{
    HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    return !foreground
        || (GetWindowThreadProcessId(foreground, &process) && process == GetCurrentProcessId());
}

} // namespace win32
