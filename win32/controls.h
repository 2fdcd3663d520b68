// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/twips.h"
#include "win32/twipslayout.h"

#include <windows.h>

#include <functional>
#include <string_view>
#include <vector>

namespace win32 {

// What a control is made as: its window class and styles (WS_CHILD is added).
struct ControlKind
{
    const wchar_t *className = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
};

// The class of a frame: a child that holds controls of its own, so that hiding it hides them. What
// its controls say (commands, notifications, colour requests) goes on to its window (BaseWindow).
inline constexpr wchar_t FrameClassName[] = L"PomvaleFrame";

inline constexpr ControlKind PushButton {L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON};
// A push button that shows its picture alone, but keeps a text: it is the name that the
// accessibility layer gives a button, and so what a screen reader says of it.
inline constexpr ControlKind PictureButton {L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP};
// Three states, as a hand-edited file may ask for grayed; the window moves it itself on a click.
inline constexpr ControlKind ThreeStateCheckBox {L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_3STATE};
inline constexpr ControlKind Label {L"STATIC", WS_VISIBLE | SS_LEFT};
inline constexpr ControlKind TextBox {L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
inline constexpr ControlKind GroupBox {L"BUTTON", WS_VISIBLE | BS_GROUPBOX};
inline constexpr ControlKind Frame {FrameClassName, 0, WS_EX_CONTROLPARENT}; // hidden until shown

// A bitmap resource shown on a button at the window's scale, with its size in pixels at 96 dpi.
struct ButtonPicture
{
    int resource = 0;
    int width = 0;
    int height = 0;
};

// One control in a window's table: how it is made, where the design puts it, what it says and what
// it does.
struct ControlRow
{
    HWND *control = nullptr; // where the window keeps it, if it refers to it
    ControlKind kind {};
    core::TwipsRect rect {}; // within its parent
    std::u16string_view caption {};
    std::function<void()> handler {}; // called on the notification below; none for a passive control
    WORD notification = BN_CLICKED;
    const HWND *parent = nullptr; // a frame made earlier in the table; the window itself when null
    TwipsLayout::Font font = TwipsLayout::Font::UserInterface;
    ButtonPicture picture {};
    std::u16string_view toolTip {};
};

// A window's controls, made from its table, and its menu commands: each with its command ID and
// handler, placed in twips with their fonts and pictures at the window's scale.
class Controls final
{
public:
    Controls() = default;
    Controls(const Controls &) = delete;
    Controls &operator=(const Controls &) = delete;
    ~Controls();

    // Makes the rows' controls in the window, in table order, which is the tab order the dialog
    // keys follow. A frame is made with frameOwner as its creation parameter. False when a control
    // could not be made (GetLastError says why); those made go with the window.
    bool create(HWND window, HINSTANCE instance, std::vector<ControlRow> rows, void *frameOwner);
    // A menu command and its handler; false when the menu refuses it.
    bool appendMenuItem(HMENU menu, std::u16string_view caption, std::function<void()> handler);
    // Places the controls and gives them their fonts and pictures at the window's DPI.
    void apply(UINT dpi);
    // A WM_COMMAND: calls the handler of the control or menu item it comes from, if it has one for
    // this notification; false when none answered.
    bool command(WPARAM wParam) const;
    // Forgets the controls once their window is gone, and lets their fonts and pictures go.
    void clear();

private:
    struct Command
    {
        WORD notification;
        std::function<void()> handler;
    };
    struct Picture
    {
        HWND button;
        ButtonPicture design;
        HBITMAP shown = nullptr;
    };
    WORD nextId() const;
    void addToolTip(HWND window, HWND control, std::u16string_view text);

    HINSTANCE m_instance = nullptr;
    std::vector<Command> m_commands; // by command ID, from FirstId
    std::vector<Picture> m_pictures;
    HWND m_toolTip = nullptr; // one for the window, made with its first tip
    TwipsLayout m_layout;
};

} // namespace win32
