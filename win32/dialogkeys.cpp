// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/dialogkeys.h"

#include <cwchar>

namespace win32 {

namespace {

bool isPushButton(HWND control)
{
    wchar_t className[16] {};
    if (!control || !GetClassNameW(control, className, 16) || _wcsicmp(className, L"Button") != 0)
        return false;
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

} // namespace

bool handleDialogKeys(HWND window, MSG &message)
{
    if (message.message == WM_KEYDOWN && (message.hwnd == window || IsChild(window, message.hwnd))) {
        if (message.wParam == VK_ESCAPE)
            return true;
        if (message.wParam == VK_RETURN) {
            // The dialog manager would send IDOK to the window; here only the focused button answers.
            HWND focus = GetFocus();
            if (isPushButton(focus) && IsWindowEnabled(focus))
                SendMessageW(GetParent(focus), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                             reinterpret_cast<LPARAM>(focus));
            return true;
        }
    }
    return IsDialogMessageW(window, &message) != FALSE;
}

} // namespace win32
