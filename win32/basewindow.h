// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "win32/controls.h"
#include "win32/focuskeeper.h"

#include <windows.h>

#include <string_view>
#include <vector>

namespace win32 {

// What every window of the program shares. It registers the window's class, keeps the object with
// the window so that its messages reach it, makes the controls from the window's table and hands
// their commands to their handlers, keeps the focused control while the window is inactive, and
// destroys the window with the object at the latest. A window derives from it and handles the rest
// of its messages in handle().
class BaseWindow
{
public:
    BaseWindow(const BaseWindow &) = delete;
    BaseWindow &operator=(const BaseWindow &) = delete;

    // The window while it exists: nullptr before it is made and once it is gone.
    HWND window() const { return m_window; }

protected:
    explicit BaseWindow(HINSTANCE instance);
    virtual ~BaseWindow();

    // A class whose windows are objects of this kind, and the class of their frames; false when
    // either cannot be registered.
    static bool registerClass(HINSTANCE instance, const wchar_t *className, HICON icon = nullptr);
    // Makes the window, hidden, and then its controls. False when either cannot be made: the window
    // is gone again, and GetLastError says why.
    bool create(const wchar_t *className, std::u16string_view title, DWORD style, DWORD exStyle, HWND owner,
                std::vector<ControlRow> controls);
    void destroy();

    // The messages the base does not handle itself.
    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT handleByDefault(UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance() const { return m_instance; }
    Controls &controls() { return m_controls; }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    Controls m_controls;
    FocusKeeper m_focus;
};

} // namespace win32
