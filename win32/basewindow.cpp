// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/basewindow.h"

#include "win32/wintext.h"

#include <utility>

namespace win32 {

BaseWindow::BaseWindow(HINSTANCE instance)
    : m_instance(instance)
{ }

BaseWindow::~BaseWindow()
{
    // A window the derived object did not destroy: the derived part is gone, so its last messages go
    // to the default procedure.
    if (HWND window = std::exchange(m_window, nullptr))
        DestroyWindow(window);
}

bool BaseWindow::registerClass(HINSTANCE instance, const wchar_t *className, HICON icon)
{
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = FrameClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass) != 0;
}

bool BaseWindow::create(const wchar_t *className, std::u16string_view title, DWORD style, DWORD exStyle,
                        HWND owner, std::vector<ControlRow> controls)
{
    if (m_window) { // one window an object
        SetLastError(ERROR_INVALID_STATE);
        return false;
    }
    m_focus = {}; // nothing of an earlier window
    if (!CreateWindowExW(exStyle, className, toWide(title).c_str(), style, 0, 0, 0, 0, owner, nullptr,
                         m_instance, this))
        return false;
    if (!m_controls.create(m_window, m_instance, std::move(controls), this)) {
        const DWORD error = GetLastError();
        destroy();
        SetLastError(error);
        return false;
    }
    return true;
}

void BaseWindow::destroy()
{
    if (m_window)
        DestroyWindow(m_window); // its WM_NCDESTROY forgets it
}

LRESULT BaseWindow::handleByDefault(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(m_window, message, wParam, lParam);
}

// One procedure for the windows and for their frames, which are made with the same object.
LRESULT CALLBACK BaseWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<BaseWindow *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (self && !self->m_window) // the window comes before its frames
            self->m_window = window;
    }
    auto *self = reinterpret_cast<BaseWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->m_window)
        return DefWindowProcW(window, message, wParam, lParam);
    if (window != self->m_window) { // a frame: what its controls say is the window's business
        switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return SendMessageW(self->m_window, message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
        }
    }
    switch (message) {
    case WM_COMMAND:
        return self->m_controls.command(wParam) ? 0 : self->handle(message, wParam, lParam);
    case WM_ACTIVATE:
        self->m_focus.onActivate(window, wParam);
        return 0;
    case WM_NCDESTROY:
        self->m_window = nullptr;
        self->m_controls.clear();
        return DefWindowProcW(window, message, wParam, lParam);
    default:
        return self->handle(message, wParam, lParam);
    }
}

} // namespace win32
