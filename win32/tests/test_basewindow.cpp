// SPDX-License-Identifier: GPL-3.0-or-later
// The window base and its control table: the controls made in table order in their parents, each
// command reaching its own handler (from a frame's control and from the menu too, and only on its
// notification), a button whose picture cannot load keeping its name, and the window gone with its
// object or with a control that cannot be made.
#include "win32/basewindow.h"

#include <commctrl.h>
#include <doctest/doctest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t ClassName[] = L"PomvaleTestTable";

// A click as a button tells its parent. (BM_CLICK asks for an active window, which a test run in
// the background on Windows may not have.)
void click(HWND button)
{
    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

class TableWindow final : public win32::BaseWindow
{
public:
    TableWindow()
        : BaseWindow(GetModuleHandleW(nullptr))
    {
        registerClass(instance(), ClassName); // fails harmlessly once it is registered
    }

    bool open(std::vector<win32::ControlRow> rows)
    {
        if (!create(ClassName, u"table", WS_OVERLAPPEDWINDOW, WS_EX_CONTROLPARENT, nullptr, std::move(rows)))
            return false;
        controls().apply(96);
        ShowWindow(window(), SW_SHOW);
        return true;
    }
    using BaseWindow::controls;
    using BaseWindow::destroy;

    std::function<void()> record(const std::string &what)
    {
        return [this, what] { said.push_back(what); };
    }

    // A button, and a frame with a button, a text box and a picture button that has no picture but a
    // tool tip.
    std::vector<win32::ControlRow> table()
    {
        using namespace win32;
        return {
            {.control = &button, .kind = PushButton, .rect = {0, 0, 900, 300}, .handler = record("button")},
            {.control = &frame, .kind = Frame, .rect = {0, 400, 3000, 1500}},
            {.control = &inFrame,
             .kind = PushButton,
             .rect = {0, 0, 900, 300},
             .handler = record("button in frame"),
             .parent = &frame},
            {.control = &edit,
             .kind = TextBox,
             .rect = {0, 400, 900, 300},
             .handler = record("text box focused"),
             .notification = EN_SETFOCUS,
             .parent = &frame},
            {.control = &picture,
             .kind = PictureButton,
             .rect = {0, 800, 900, 300},
             .caption = u"picture",
             .parent = &frame,
             .picture = {999, 16, 16},
             .toolTip = u"tip"},
        };
    }

    std::vector<std::string> said;
    HWND button = nullptr;
    HWND frame = nullptr;
    HWND inFrame = nullptr;
    HWND edit = nullptr;
    HWND picture = nullptr;

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DESTROY) // a window's own clean-up may set the last error, as KillTimer does
            SetLastError(ERROR_INVALID_HANDLE);
        return handleByDefault(message, wParam, lParam);
    }
};

// The tip that the window's tool tip shows over a control.
std::wstring toolTipText(HWND window, HWND control)
{
    HWND toolTip = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND candidate, LPARAM found) {
            wchar_t className[32] {};
            GetClassNameW(candidate, className, 32);
            if (std::wstring_view(className) == TOOLTIPS_CLASSW)
                *reinterpret_cast<HWND *>(found) = candidate;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&toolTip));
    if (!toolTip || GetWindow(toolTip, GW_OWNER) != window)
        return {};
    wchar_t text[80] {};
    TTTOOLINFOW tool {};
    tool.cbSize = sizeof tool;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(toolTip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}

} // namespace

TEST_CASE("controls are made from the table in tab order, and each command reaches its own handler")
{
    TableWindow test;
    REQUIRE(test.open(test.table()));
    ShowWindow(test.frame, SW_SHOWNA);
    CHECK(GetParent(test.inFrame) == test.frame);
    const HWND tabOrder[] = {test.button, test.inFrame, test.edit, test.picture, test.button};
    for (std::size_t i = 0; i + 1 < std::size(tabOrder); ++i)
        CHECK(GetNextDlgTabItem(test.window(), tabOrder[i], FALSE) == tabOrder[i + 1]);
    // The picture that cannot load leaves the button its name.
    CHECK((GetWindowLongPtrW(test.picture, GWL_STYLE) & BS_BITMAP) == 0);
    CHECK(toolTipText(test.window(), test.picture) == L"tip");

    HMENU menu = CreateMenu();
    REQUIRE(test.controls().appendMenuItem(menu, u"menu", test.record("menu")));
    REQUIRE(SetMenu(test.window(), menu));

    struct Row
    {
        const char *name;
        std::function<void()> act;
        std::vector<std::string> said;
    };
    const Row rows[] = {
        {"a click on a button", [&] { click(test.button); }, {"button"}},
        {"a click on a button in a frame", [&] { click(test.inFrame); }, {"button in frame"}},
        {"the focus into the text box", [&] { SetFocus(test.edit); }, {"text box focused"}},
        {"typing, which the text box's row does not handle",
         [&] { SendMessageW(test.edit, WM_CHAR, L'a', 0); },
         {}},
        {"the menu item",
         [&] { SendMessageW(test.window(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(menu, 0), 0), 0); },
         {"menu"}},
        {"a command of no row",
         [&] {
             for (WORD id : {0, 1, 2, 99, 200})
                 SendMessageW(test.window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
         },
         {}},
    };
    for (const Row &row : rows) {
        CAPTURE(std::string(row.name));
        SetFocus(test.button);
        test.said.clear();
        row.act();
        CHECK(test.said == row.said);
    }
}

TEST_CASE("the window goes with its object, opens again after it is closed, and fails whole")
{
    HWND last = nullptr;
    {
        TableWindow test;
        REQUIRE(test.open(test.table()));
        test.destroy();
        CHECK(test.window() == nullptr);
        REQUIRE(test.open(test.table())); // as the options window at each opening
        click(test.inFrame);
        CHECK(test.said == std::vector<std::string> {"button in frame"});
        last = test.window();
        REQUIRE(IsWindow(last));
    }
    CHECK_FALSE(IsWindow(last));

    TableWindow failing;
    HWND made = nullptr;
    CHECK_FALSE(failing.open(
        {{.control = &made, .kind = win32::PushButton}, {.kind = {L"PomvaleNoSuchClass", WS_VISIBLE}}}));
    // The failed call's reason outlives the window: Windows says ERROR_CANNOT_FIND_WND_CLASS, Wine
    // ERROR_CLASS_DOES_NOT_EXIST.
    const DWORD error = GetLastError();
    CHECK((error == ERROR_CANNOT_FIND_WND_CLASS || error == ERROR_CLASS_DOES_NOT_EXIST));
    CHECK(failing.window() == nullptr);
    CHECK_FALSE(IsWindow(made));
}
