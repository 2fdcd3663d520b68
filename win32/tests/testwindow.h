// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <vector>

// A shown top-level window of this thread, with the children a test makes in it, destroyed at the
// end of the test. It records the button clicks it is told of.
class TestWindow final
{
public:
    TestWindow()
    {
        WNDCLASSEXW windowClass {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"PomvaleTestWindow";
        RegisterClassExW(&windowClass); // fails harmlessly once it is registered
        m_window = CreateWindowExW(WS_EX_CONTROLPARENT, L"PomvaleTestWindow", L"test", WS_OVERLAPPEDWINDOW, 0,
                                   0, 400, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&clicks));
        ShowWindow(m_window, SW_SHOW);
    }
    TestWindow(const TestWindow &) = delete;
    TestWindow &operator=(const TestWindow &) = delete;
    ~TestWindow() { DestroyWindow(m_window); }

    HWND window() const { return m_window; }
    HWND add(const wchar_t *className, DWORD style, int id, HWND parent = nullptr)
    {
        return CreateWindowExW(0, className, L"x", WS_CHILD | WS_VISIBLE | style, 0, 0, 50, 20,
                               parent ? parent : m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    }

    std::vector<int> clicks; // the control IDs of BN_CLICKED, in order

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto *clicked = reinterpret_cast<std::vector<int> *>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && clicked) {
            clicked->push_back(LOWORD(wParam));
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
};
