// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/frmmain.h"

#include "core/mainwindowdesign.h"
#include "win32/dialogkeys.h"
#include "win32/failurereason.h"
#include "win32/frmoption.h"
#include "win32/wintext.h"

namespace {

namespace Design = frmMainDesign;

constexpr wchar_t ClassName[] = L"PomvaleMain";
// A fixed single border: title bar, system menu and close box; no minimize or maximize box.
constexpr DWORD Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD ExStyle = WS_EX_CONTROLPARENT;
constexpr UINT_PTR TimerId = 1;

constexpr win32::ControlKind Display {L"STATIC", WS_VISIBLE | SS_CENTER, WS_EX_CLIENTEDGE};
constexpr std::u16string_view DigitCaptions = u"0123456789";

} // namespace

frmMain::frmMain(HINSTANCE instance)
    : BaseWindow(instance)
{ }

frmMain::~frmMain()
{
    destroy(); // while the handlers' objects are whole
}

// The controls in tab order; the display takes no focus.
std::vector<win32::ControlRow> frmMain::controlTable()
{
    using win32::PushButton;
    std::vector<win32::ControlRow> rows {
        {.control = &lblDisp,
         .kind = Display,
         .rect = Design::lblDisp,
         .caption = Design::lblDispCaption,
         .font = win32::TwipsLayout::Font::Display},
    };
    for (const Design::DigitButton &digit : Design::cmdNum) { // the keypad as its own table has it
        rows.push_back({.control = &cmdNum.at(static_cast<std::size_t>(digit.index)),
                        .kind = PushButton,
                        .rect = digit.rect,
                        .caption = DigitCaptions.substr(static_cast<std::size_t>(digit.index), 1),
                        .handler = [this, index = digit.index] { m_countdown.cmdNum_Click(index); }});
    }
    rows.push_back({.control = &cmdReset,
                    .kind = PushButton,
                    .rect = Design::cmdReset,
                    .caption = Design::cmdResetCaption,
                    .handler = [this] { m_countdown.cmdReset_Click(); }});
    rows.push_back({.control = &cmdStart,
                    .kind = PushButton,
                    .rect = Design::cmdStart,
                    .caption = Design::cmdStartCaption,
                    .handler = [this] { m_countdown.cmdStart_Click(); }});
    return rows;
}

std::wstring frmMain::show(int showCommand)
{
    if (!registerClass(instance(), ClassName, LoadIconW(instance(), L"IDI_ICON1"))
        || !frmOption::registerClass(instance()))
        return win32::failureReason(L"ウィンドウクラスの登録");
    if (!create(ClassName, Design::Caption, Style, ExStyle, nullptr, controlTable()))
        return win32::failureReason(L"メインウィンドウの作成");

    HMENU menu = CreateMenu();
    if (!menu || !controls().appendMenuItem(menu, Design::mnOptionCaption, [this] { mnOption_Click(); })
        || !SetMenu(window(), menu)) {
        std::wstring failure = win32::failureReason(L"メニューの作成");
        if (menu)
            DestroyMenu(menu); // not given to the window
        destroy();
        return failure;
    }
    m_countdown.Form_Load(); // before the window is first shown
    placeWindow(GetDpiForWindow(window()), nullptr);
    ShowWindow(window(), showCommand);
    SetFocus(cmdNum.at(1)); // the first control in tab order that can take the focus
    return {};
}

void frmMain::placeWindow(UINT dpi, const RECT *suggested)
{
    controls().apply(dpi);
    RECT frame {0, 0, win32::twipsToPixels(Design::ClientWidth, dpi),
                win32::twipsToPixels(Design::ClientHeight, dpi)};
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
    SetWindowPos(window(), nullptr, topLeft.x, topLeft.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The menu bar's height is the platform's: make up any difference so the client area is the design's.
    RECT client {};
    GetClientRect(window(), &client);
    height += win32::twipsToPixels(Design::ClientHeight, dpi) - client.bottom;
    SetWindowPos(window(), nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

bool frmMain::preTranslate(MSG &message)
{
    // Key preview: a typed digit reaches the countdown whichever control has the focus, and then that
    // control as usual.
    if (message.message == WM_CHAR && (message.hwnd == window() || IsChild(window(), message.hwnd)))
        m_countdown.Form_KeyPress(static_cast<int>(message.wParam));
    return win32::handleDialogKeys(window(), message);
}

LRESULT frmMain::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == TimerId && m_timerEnabled)
            m_countdown.timeTic_Timer();
        return 0;
    case WM_DPICHANGED:
        placeWindow(HIWORD(wParam), reinterpret_cast<const RECT *>(lParam));
        return 0;
    case WM_DESTROY:
        KillTimer(window(), TimerId);
        PostQuitMessage(0);
        return 0;
    default:
        return handleByDefault(message, wParam, lParam);
    }
}

void frmMain::mnOption_Click()
{
    if (!m_options)
        m_options = std::make_unique<frmOption>(instance());
    m_options->showModal(window()); // the countdown goes on meanwhile: ticks come in its modal loop
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
    if (!enabled) {
        KillTimer(window(), TimerId);
        m_timerEnabled = false;
        return;
    }
    if (!SetTimer(window(), TimerId, Design::TimerInterval, nullptr)) {
        // Without its timer the countdown cannot run: it stays stopped, and says why.
        win32::showFailure(window(), L"カウントダウンを開始できませんでした。",
                           win32::failureReason(L"タイマーの設定"));
        return;
    }
    m_timerEnabled = true;
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
    HWND owner = m_options && m_options->window() ? m_options->window() : window();
    MessageBoxW(owner, win32::toWide(text).c_str(), win32::toWide(title).c_str(), MB_OK);
}
