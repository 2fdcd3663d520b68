// SPDX-License-Identifier: GPL-3.0-or-later
// Pomvale for Windows: the main window, and the message loop that runs until it is closed.
#include "core/mainwindowdesign.h"
#include "win32/frmmain.h"
#include "win32/startfailure.h"
#include "win32/wintext.h"

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
        failure = win32::startFailure(L"コモンコントロールの初期化");

    frmMain window(hInstance);
    if (failure.empty())
        failure = window.show(nShowCmd);
    if (!failure.empty()) { // said before the program ends, or it would end without a word
        MessageBoxW(nullptr, (L"Pomvale を起動できませんでした。\n\n" + failure).c_str(),
                    win32::toWide(frmMainDesign::Caption).c_str(), MB_OK | MB_ICONERROR);
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
