// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog keys of a window without a default or a cancel button: Enter clicks only a focused
// push button (telling its own parent), Esc does nothing, other keys go to the dialog manager.
#include "testwindow.h"
#include "win32/dialogkeys.h"

#include <doctest/doctest.h>

#include <string>

TEST_CASE("Enter clicks only a focused push button; Esc is swallowed")
{
    TestWindow test;
    HWND button = test.add(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 11);
    HWND check = test.add(L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 13);
    HWND edit = test.add(L"EDIT", WS_TABSTOP, 14);
    HWND frame = test.add(L"STATIC", 0, 15);
    HWND inFrame = test.add(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 16, frame);
    // The frame records what its button tells it, as the options window's frame passes it on.
    std::vector<int> frameClicks;
    SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&frameClicks));
    SetWindowLongPtrW(
        frame, GWLP_WNDPROC,
        reinterpret_cast<LONG_PTR>(+[](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
                reinterpret_cast<std::vector<int> *>(GetWindowLongPtrW(window, GWLP_USERDATA))
                    ->push_back(LOWORD(wParam));
            return DefWindowProcW(window, message, wParam, lParam);
        }));

    struct Row
    {
        const char *name;
        HWND focus;
        WPARAM key;
        std::vector<int> clicks; // what the window is told
        std::vector<int> frameClicks; // what the frame is told
    };
    const Row rows[] = {
        {"Enter on a push button", button, VK_RETURN, {11}, {}},
        {"Enter with no control focused", nullptr, VK_RETURN, {}, {}},
        {"Enter on a check box", check, VK_RETURN, {}, {}},
        {"Enter in an edit box", edit, VK_RETURN, {}, {}},
        {"Enter on a button in a frame", inFrame, VK_RETURN, {}, {16}},
        {"Esc on a push button", button, VK_ESCAPE, {}, {}},
    };
    for (const Row &row : rows) {
        CAPTURE(std::string(row.name));
        test.clicks.clear();
        frameClicks.clear();
        SetFocus(row.focus);
        MSG message {row.focus ? row.focus : test.window(), WM_KEYDOWN, row.key, 0, 0, {}};
        CHECK(win32::handleDialogKeys(test.window(), message));
        CHECK(test.clicks == row.clicks);
        CHECK(frameClicks == row.frameClicks);
    }

    // A key of another window is none of this window's business.
    TestWindow other;
    HWND otherButton = other.add(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 21);
    SetFocus(otherButton);
    MSG message {otherButton, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    CHECK_FALSE(win32::handleDialogKeys(test.window(), message));
    CHECK(other.clicks.empty());
}
