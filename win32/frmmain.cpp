// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/frmmain.h"

#include "core/mainwindowdesign.h"
#include "win32/dialogkeys.h"
#include "win32/frmoption.h"
#include "win32/startfailure.h"
#include "win32/wintext.h"

#include <algorithm>

namespace {

constexpr wchar_t ClassName[] = L"PomvaleMain";
// A fixed single border: title bar, system menu and close box; no minimize or maximize box.
constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD ExStyle = WS_EX_CONTROLPARENT;

constexpr int IdDisplay = 10;
constexpr int IdDigit = 100; // cmdNum(Index) is IdDigit + Index
constexpr int IdReset = 110;
constexpr int IdStart = 111;
constexpr int IdOption = 120;
constexpr UINT_PTR TimerId = 1;

} // namespace

frmMain::frmMain(HINSTANCE instance)
    : m_instance(instance)
{ }

frmMain::~frmMain() = default;

std::wstring frmMain::show(int showCommand)
{
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = m_instance;
    windowClass.hIcon = LoadIconW(m_instance, L"IDI_ICON1");
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = ClassName;
    if (!RegisterClassExW(&windowClass) || !frmOption::registerClasses(m_instance))
        return win32::startFailure(L"ウィンドウクラスの登録");

    HMENU menu = CreateMenu();
    if (!menu
        || !AppendMenuW(menu, MF_STRING, IdOption, win32::toWide(frmMainDesign::mnOptionCaption).c_str())) {
        std::wstring failure = win32::startFailure(L"メニューの作成");
        if (menu)
            DestroyMenu(menu);
        return failure;
    }
    m_window = CreateWindowExW(ExStyle, ClassName, win32::toWide(frmMainDesign::Caption).c_str(), Style,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu,
                               m_instance, this);
    if (!m_window) {
        std::wstring failure = win32::startFailure(L"メインウィンドウの作成");
        DestroyMenu(menu); // a menu not yet given to a window
        return failure;
    }
    if (!createControls()) {
        std::wstring failure = win32::startFailure(L"コントロールの作成");
        DestroyWindow(m_window);
        return failure;
    }
    m_countdown.Form_Load(); // before the window is first shown
    placeWindow(GetDpiForWindow(m_window), nullptr);
    ShowWindow(m_window, showCommand);
    SetFocus(cmdNum.at(1)); // the first control in tab order that can take the focus
    return {};
}

bool frmMain::createControls()
{
    lblDisp
        = CreateWindowExW(WS_EX_CLIENTEDGE, L"STATIC", win32::toWide(frmMainDesign::lblDispCaption).c_str(),
                          WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 0, 0, 0, m_window,
                          reinterpret_cast<HMENU>(IdDisplay), m_instance, nullptr);
    m_layout.add(lblDisp, frmMainDesign::lblDisp, win32::TwipsLayout::Font::Display);
    // Made in tab order, which the dialog keys follow.
    for (const frmMainDesign::DigitButton &design : frmMainDesign::cmdNum) {
        const wchar_t caption[2] = {static_cast<wchar_t>(L'0' + design.index), L'\0'};
        HWND button = CreateWindowExW(
            0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, m_window,
            reinterpret_cast<HMENU>(IdDigit + design.index), m_instance, nullptr);
        m_layout.add(button, design.rect);
        cmdNum.at(static_cast<std::size_t>(design.index)) = button;
    }
    cmdReset = CreateWindowExW(0, L"BUTTON", win32::toWide(frmMainDesign::cmdResetCaption).c_str(),
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, m_window,
                               reinterpret_cast<HMENU>(IdReset), m_instance, nullptr);
    m_layout.add(cmdReset, frmMainDesign::cmdReset);
    cmdStart = CreateWindowExW(0, L"BUTTON", win32::toWide(frmMainDesign::cmdStartCaption).c_str(),
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, m_window,
                               reinterpret_cast<HMENU>(IdStart), m_instance, nullptr);
    m_layout.add(cmdStart, frmMainDesign::cmdStart);
    return lblDisp && cmdReset && cmdStart && std::ranges::all_of(cmdNum, [](HWND button) { return button; });
}

void frmMain::placeWindow(UINT dpi, const RECT *suggested)
{
    m_layout.apply(dpi);
    RECT frame {0, 0, win32::twipsToPixels(frmMainDesign::ClientWidth, dpi),
                win32::twipsToPixels(frmMainDesign::ClientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, Style, TRUE, ExStyle, dpi);
    const int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    POINT topLeft {};
    if (suggested) {
        topLeft = {suggested->left, suggested->top};
    } else { // centred on the screen
        MONITORINFO monitor {};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
        topLeft = {(monitor.rcWork.left + monitor.rcWork.right - width) / 2,
                   (monitor.rcWork.top + monitor.rcWork.bottom - height) / 2};
    }
    SetWindowPos(m_window, nullptr, topLeft.x, topLeft.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The menu bar's height is the platform's: make up any difference so the client area is the design's.
    RECT client {};
    GetClientRect(m_window, &client);
    height += win32::twipsToPixels(frmMainDesign::ClientHeight, dpi) - client.bottom;
    SetWindowPos(m_window, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

bool frmMain::preTranslate(MSG &message)
{
    // Key preview: a typed digit reaches the countdown whichever control has the focus, and then that
    // control as usual.
    if (message.message == WM_CHAR && (message.hwnd == m_window || IsChild(m_window, message.hwnd)))
        m_countdown.Form_KeyPress(static_cast<int>(message.wParam));
    return win32::handleDialogKeys(m_window, message);
}

LRESULT CALLBACK frmMain::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<frmMain *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_window = window;
    }
    auto *self = reinterpret_cast<frmMain *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT frmMain::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED || (HIWORD(wParam) == 0 && lParam == 0))
            command(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == TimerId && m_timerEnabled)
            m_countdown.timeTic_Timer();
        return 0;
    case WM_ACTIVATE:
        m_focus.onActivate(m_window, wParam);
        return 0;
    case WM_DPICHANGED:
        placeWindow(HIWORD(wParam), reinterpret_cast<const RECT *>(lParam));
        return 0;
    case WM_DESTROY:
        KillTimer(m_window, TimerId);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void frmMain::command(int id)
{
    if (id >= IdDigit && id <= IdDigit + 9)
        m_countdown.cmdNum_Click(id - IdDigit);
    else if (id == IdReset)
        m_countdown.cmdReset_Click();
    else if (id == IdStart)
        m_countdown.cmdStart_Click();
    else if (id == IdOption)
        mnOption_Click();
}

void frmMain::mnOption_Click()
{
    if (!m_options)
        m_options = std::make_unique<frmOption>(m_instance);
    m_options->showModal(m_window); // the countdown goes on meanwhile: ticks come in its modal loop
}

// ---- What the countdown asks of its window ----

void frmMain::setDisplayText(const std::u16string &text)
{
    SetWindowTextW(lblDisp, win32::toWide(text).c_str());
}

void frmMain::setDigitsEnabled(bool enabled)
{
    for (HWND button : cmdNum)
        EnableWindow(button, enabled);
}

void frmMain::setResetEnabled(bool enabled)
{
    EnableWindow(cmdReset, enabled);
}

bool frmMain::timerEnabled() const
{
    return m_timerEnabled;
}

void frmMain::setTimerEnabled(bool enabled)
{
    if (enabled == m_timerEnabled)
        return;
    m_timerEnabled = enabled;
    if (enabled)
        SetTimer(m_window, TimerId, frmMainDesign::TimerInterval, nullptr);
    else
        KillTimer(m_window, TimerId);
}

std::int64_t frmMain::milliseconds() const
{
    // Milliseconds since boot, sleep and hibernation included: a countdown left running over a
    // suspend rings at its time, or at once on waking when that time has passed. (WM_TIMER comes
    // once after any stall, however many intervals it missed.)
    return static_cast<std::int64_t>(GetTickCount64());
}

void frmMain::showAlarm(const std::u16string &text, const std::u16string &title)
{
    // Windows' foreground rules keep a box of a program in the background from taking the keyboard.
    // While the options window is open the box is its own, so that a click on the options window
    // cannot bury it.
    HWND owner = m_options && m_options->window() ? m_options->window() : m_window;
    MessageBoxW(owner, win32::toWide(text).c_str(), win32::toWide(title).c_str(), MB_OK);
}
