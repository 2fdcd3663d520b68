// SPDX-License-Identifier: GPL-3.0-or-later
// The focus keeper: the focused control is saved when the window goes inactive and given back when it
// is active again; one disabled or hidden meanwhile hands on to the next in tab order.
#include "testwindow.h"
#include "win32/focuskeeper.h"

#include <doctest/doctest.h>

#include <string>

TEST_CASE("the focus comes back to the saved control, or to the next one that can take it")
{
    enum class Meanwhile {
        Nothing,
        Disabled,
        Hidden,
    };
    struct Row
    {
        const char *name;
        bool saved; // whether the window went inactive with the second button focused
        Meanwhile meanwhile; // what happens to the second button while the window is inactive
        WORD minimized; // HIWORD of WM_ACTIVATE's wParam
        int expected; // the button focused afterwards: 1, 2 or 3
    };
    const Row rows[] = {
        {"saved and given back", true, Meanwhile::Nothing, 0, 2},
        {"disabled meanwhile", true, Meanwhile::Disabled, 0, 3},
        {"hidden meanwhile", true, Meanwhile::Hidden, 0, 3},
        {"activated while minimized", true, Meanwhile::Nothing, 1, 1},
        {"nothing saved: the first in tab order", false, Meanwhile::Nothing, 0, 1},
    };
    for (const Row &row : rows) {
        CAPTURE(std::string(row.name));
        TestWindow test;
        HWND buttons[] = {test.add(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 1),
                          test.add(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 2),
                          test.add(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 3)};
        win32::FocusKeeper keeper;
        if (row.saved) {
            SetFocus(buttons[1]);
            keeper.onActivate(test.window(), MAKEWPARAM(WA_INACTIVE, 0));
        }
        if (row.meanwhile == Meanwhile::Disabled)
            EnableWindow(buttons[1], FALSE);
        if (row.meanwhile == Meanwhile::Hidden)
            ShowWindow(buttons[1], SW_HIDE);
        SetFocus(buttons[0]); // as the window's activation leaves it
        keeper.onActivate(test.window(), MAKEWPARAM(WA_ACTIVE, row.minimized));
        CHECK(GetFocus() == buttons[row.expected - 1]);
    }
}
