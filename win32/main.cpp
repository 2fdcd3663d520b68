// SPDX-License-Identifier: GPL-3.0-or-later
// Pomvale for Windows: the main window, and the message loop that runs until it is closed.
#include "win32/failurereason.h"
#include "win32/frmmain.h"

#include <windows.h>

#include <commctrl.h>

// The parameters keep the names of Windows' own declaration.
int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, PWSTR /*lpCmdLine*/, int nShowCmd)
{
    // The manifest asks for per-monitor DPI awareness; this holds where it is not read.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    INITCOMMONCONTROLSEX controls {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    std::wstring failure;
    if (!InitCommonControlsEx(&controls))
        failure = win32::failureReason(L"コモンコントロールの初期化");

    frmMain window(hInstance);
    if (failure.empty())
        failure = window.show(nShowCmd);
    if (!failure.empty()) { // said before the program ends, or it would end without a word
        // A window destroyed on the way out may have asked to quit; the box's own loop would take
        // that as its end.
        MSG quit {};
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        win32::showFailure(nullptr, L"Pomvale を起動できませんでした。", failure);
        return 1;
    }
    MSG message {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!window.preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
