// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/controls.h"

#include "win32/wintext.h"

#include <commctrl.h>

#include <utility>

namespace win32 {

namespace {

// Command IDs clear of IDOK and IDCANCEL: no control is the window's default or cancel button.
constexpr WORD FirstId = 100;

// Shows a picture on a button at a new scale, and lets the one it replaces go. A picture that cannot
// be loaded leaves the old one; without any, the button shows its name instead.
void setPicture(HWND button, HBITMAP &shown, HBITMAP loaded)
{
    if (!loaded) {
        if (!shown)
            SetWindowLongPtrW(button, GWL_STYLE, GetWindowLongPtrW(button, GWL_STYLE) & ~BS_BITMAP);
        return;
    }
    SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(loaded));
    if (shown)
        DeleteObject(shown);
    shown = loaded;
}

} // namespace

Controls::~Controls()
{
    clear();
}

WORD Controls::nextId() const
{
    return static_cast<WORD>(FirstId + m_commands.size());
}

bool Controls::create(HWND window, HINSTANCE instance, std::vector<ControlRow> rows, void *frameOwner)
{
    m_instance = instance;
    for (ControlRow &row : rows) {
        const bool frame = std::wstring_view(row.kind.className) == FrameClassName;
        HWND control = CreateWindowExW(
            row.kind.exStyle, row.kind.className, toWide(row.caption).c_str(), WS_CHILD | row.kind.style, 0,
            0, 0, 0, row.parent ? *row.parent : window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId())), instance, frame ? frameOwner : nullptr);
        if (!control)
            return false;
        if (row.control)
            *row.control = control;
        m_commands.push_back({row.notification, std::move(row.handler)});
        m_layout.add(control, row.rect, row.font);
        if (row.picture.resource)
            m_pictures.push_back({control, row.picture});
        if (!row.toolTip.empty())
            addToolTip(window, control, row.toolTip);
    }
    return true;
}

void Controls::addToolTip(HWND window, HWND control, std::u16string_view text)
{
    if (!m_toolTip) {
        m_toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window,
                                    nullptr, m_instance, nullptr);
    }
    if (!m_toolTip) // without its tip a control works all the same
        return;
    TTTOOLINFOW tool {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    std::wstring tip = toWide(text); // the tool tip keeps a copy
    tool.lpszText = tip.data();
    SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool Controls::appendMenuItem(HMENU menu, std::u16string_view caption, std::function<void()> handler)
{
    if (!AppendMenuW(menu, MF_STRING, nextId(), toWide(caption).c_str()))
        return false;
    m_commands.push_back({0, std::move(handler)}); // a menu's click comes as notification 0
    return true;
}

void Controls::apply(UINT dpi)
{
    m_layout.apply(dpi);
    for (Picture &picture : m_pictures) {
        const auto scaled = [dpi](int pixels) { return MulDiv(pixels, static_cast<int>(dpi), 96); };
        setPicture(picture.button, picture.shown,
                   static_cast<HBITMAP>(LoadImageW(m_instance, MAKEINTRESOURCEW(picture.design.resource),
                                                   IMAGE_BITMAP, scaled(picture.design.width),
                                                   scaled(picture.design.height), 0)));
    }
}

bool Controls::command(WPARAM wParam) const
{
    const std::size_t index = LOWORD(wParam) - std::size_t {FirstId};
    if (LOWORD(wParam) < FirstId || index >= m_commands.size())
        return false;
    const Command &command = m_commands[index];
    if (!command.handler || HIWORD(wParam) != command.notification)
        return false;
    // A copy: the handler may close the window, and the table goes with it.
    const std::function<void()> handler = command.handler;
    handler();
    return true;
}

void Controls::clear()
{
    for (const Picture &picture : m_pictures) {
        if (picture.shown)
            DeleteObject(picture.shown);
    }
    m_pictures.clear();
    m_commands.clear();
    m_toolTip = nullptr; // owned by the window, and gone with it
    m_layout.clear();
}

} // namespace win32
