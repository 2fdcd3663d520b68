// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/frmoption.h"

#include "core/optionwindowdesign.h"
#include "win32/dialogkeys.h"
#include "win32/resources.h"
#include "win32/twipslayout.h"
#include "win32/wintext.h"

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

namespace {

namespace Design = frmOptionDesign;
using win32::toWide;

constexpr wchar_t ClassName[] = L"PomvaleOption";
constexpr wchar_t FrameClassName[] = L"PomvaleFrame";
// No border and no title bar; owned by the main window, so it stays out of the taskbar.
constexpr DWORD Style = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD ExStyle = WS_EX_CONTROLPARENT;

constexpr int IdOK = 200; // not IDOK and IDCANCEL: neither button is the window's default or cancel
constexpr int IdCancel = 201;
constexpr int IdSoundEnable = 202;
constexpr int IdTitle = 203;
constexpr int IdFrame = 204;
constexpr int IdFileName = 205;
constexpr int IdOpenFile = 206;
constexpr int IdPlay = 207;

HWND makeControl(HINSTANCE instance, HWND parent, const wchar_t *className, const wchar_t *text, DWORD style,
                 int id, DWORD exStyle = 0)
{
    return CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

// Shows a picture on a button at a new scale, and lets the one it replaces go. A picture that cannot
// be loaded leaves the old one; without any, the button shows its name instead.
void setPicture(HWND button, HBITMAP &held, HBITMAP loaded)
{
    if (!loaded) {
        if (!held)
            SetWindowLongPtrW(button, GWL_STYLE, GetWindowLongPtrW(button, GWL_STYLE) & ~BS_BITMAP);
        return;
    }
    SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(loaded));
    if (held)
        DeleteObject(held);
    held = loaded;
}

} // namespace

bool frmOption::registerClasses(HINSTANCE instance)
{
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpfnWndProc = windowProc;
    windowClass.lpszClassName = ClassName;
    if (!RegisterClassExW(&windowClass))
        return false;
    windowClass.lpfnWndProc = frameProc;
    windowClass.lpszClassName = FrameClassName;
    return RegisterClassExW(&windowClass) != 0;
}

frmOption::frmOption(HINSTANCE instance)
    : m_instance(instance)
{ }

frmOption::~frmOption()
{
    if (m_openFilePicture)
        DeleteObject(m_openFilePicture);
    if (m_playPicture)
        DeleteObject(m_playPicture);
}

void frmOption::showModal(HWND owner)
{
    m_unloaded = false;
    m_focus = {}; // nothing of an earlier opening
    m_layout = std::make_unique<win32::TwipsLayout>();
    m_window = CreateWindowExW(ExStyle, ClassName, toWide(Design::Caption).c_str(), Style, 0, 0, 0, 0, owner,
                               nullptr, m_instance, this);
    if (!m_window)
        return;
    createControls();
    m_form.Form_Load();

    // Centred over the owner, at the owner's scale.
    const UINT dpi = GetDpiForWindow(owner);
    applyDpi(dpi);
    RECT ownerFrame {};
    GetWindowRect(owner, &ownerFrame);
    const int width = win32::twipsToPixels(Design::Width, dpi);
    const int height = win32::twipsToPixels(Design::Height, dpi);
    SetWindowPos(m_window, nullptr, (ownerFrame.left + ownerFrame.right - width) / 2,
                 (ownerFrame.top + ownerFrame.bottom - height) / 2, width, height, SWP_NOZORDER);

    EnableWindow(owner, FALSE);
    ShowWindow(m_window, SW_SHOW);
    SetFocus(OKButton); // the first control in tab order
    MSG message {};
    while (!m_unloaded) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) { // the program ends: hand the quit on to the main loop
            PostQuitMessage(got == 0 ? static_cast<int>(message.wParam) : 1);
            break;
        }
        if (!win32::handleDialogKeys(m_window, message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // The owner takes input again before this window goes, so that it becomes the active window.
    EnableWindow(owner, TRUE);
    DestroyWindow(m_window);
    m_window = nullptr;
    m_layout.reset();
    m_form.Form_Unload();
    if (m_warning) {
        MessageBoxW(owner, m_warning->text.c_str(), m_warning->title.c_str(), MB_OK | MB_ICONWARNING);
        m_warning.reset();
    }
}

void frmOption::createControls()
{
    // Made in tab order, which the dialog keys follow; the label and the frame take no focus.
    OKButton = makeControl(m_instance, m_window, L"BUTTON", toWide(Design::OKButtonCaption).c_str(),
                           WS_TABSTOP | BS_PUSHBUTTON, IdOK);
    m_layout->add(OKButton, Design::OKButton);
    CancelButton = makeControl(m_instance, m_window, L"BUTTON", toWide(Design::CancelButtonCaption).c_str(),
                               WS_TABSTOP | BS_PUSHBUTTON, IdCancel);
    m_layout->add(CancelButton, Design::CancelButton);
    // Three states, as a hand-edited file may ask for grayed; the program moves it itself on a click.
    chkSoundEnable
        = makeControl(m_instance, m_window, L"BUTTON", toWide(Design::chkSoundEnableCaption).c_str(),
                      WS_TABSTOP | BS_3STATE, IdSoundEnable);
    m_layout->add(chkSoundEnable, Design::chkSoundEnable);
    lblTitle
        = makeControl(m_instance, m_window, L"STATIC", toWide(Design::Caption).c_str(), SS_LEFT, IdTitle);
    m_layout->add(lblTitle, Design::lblTitle);

    // The frame is a container, so that hiding it hides what it holds, as the design has it.
    frameSound = CreateWindowExW(WS_EX_CONTROLPARENT, FrameClassName, L"", WS_CHILD, 0, 0, 0, 0, m_window,
                                 reinterpret_cast<HMENU>(IdFrame), m_instance, nullptr);
    m_layout->add(frameSound, Design::frameSound);
    HWND caption = makeControl(m_instance, frameSound, L"BUTTON", toWide(Design::frameSoundCaption).c_str(),
                               BS_GROUPBOX, -1);
    m_layout->add(caption, {0, 0, Design::frameSound.width, Design::frameSound.height});
    txtFileName = makeControl(m_instance, frameSound, L"EDIT", toWide(Design::txtFileNameText).c_str(),
                              WS_TABSTOP | ES_AUTOHSCROLL, IdFileName, WS_EX_CLIENTEDGE);
    SendMessageW(txtFileName, EM_SETLIMITTEXT, OptionsForm::MaxPathLength, 0);
    m_layout->add(txtFileName, Design::txtFileName);
    // The picture buttons show their picture alone (BS_BITMAP), but keep a text: it is the name that
    // the accessibility layer gives a button, and so what a screen reader says of it.
    cmdOpenFile = makeControl(m_instance, frameSound, L"BUTTON", toWide(Design::cmdOpenFileName).c_str(),
                              WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP, IdOpenFile);
    m_layout->add(cmdOpenFile, Design::cmdOpenFile);
    cmdPlay = makeControl(m_instance, frameSound, L"BUTTON", toWide(Design::cmdPlayName).c_str(),
                          WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP, IdPlay);
    m_layout->add(cmdPlay, Design::cmdPlay);

    // The browse button's tool tip; the play button has none.
    m_toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr,
                                m_instance, nullptr);
    TTTOOLINFOW tool {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = frameSound;
    tool.uId = reinterpret_cast<UINT_PTR>(cmdOpenFile);
    std::wstring tip = toWide(Design::cmdOpenFileToolTip);
    tool.lpszText = tip.data();
    SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void frmOption::applyDpi(UINT dpi)
{
    m_layout->apply(dpi);
    // The pictures at the window's scale.
    setPicture(cmdOpenFile, m_openFilePicture,
               static_cast<HBITMAP>(LoadImageW(m_instance, MAKEINTRESOURCEW(IDB_OPENFILE), IMAGE_BITMAP,
                                               MulDiv(16, static_cast<int>(dpi), 96),
                                               MulDiv(16, static_cast<int>(dpi), 96), 0)));
    setPicture(cmdPlay, m_playPicture,
               static_cast<HBITMAP>(LoadImageW(m_instance, MAKEINTRESOURCEW(IDB_PLAY), IMAGE_BITMAP,
                                               MulDiv(24, static_cast<int>(dpi), 96),
                                               MulDiv(22, static_cast<int>(dpi), 96), 0)));
}

LRESULT CALLBACK frmOption::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<frmOption *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_window = window;
    }
    auto *self = reinterpret_cast<frmOption *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || self->m_window != window)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

// The frame passes what its controls say on to the window.
LRESULT CALLBACK frmOption::frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        return SendMessageW(GetParent(window), message, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT frmOption::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_ACTIVATE:
        m_focus.onActivate(m_window, wParam);
        return 0;
    case WM_CLOSE: // any other way of closing: nothing is stored
        unload();
        return 0;
    case WM_DPICHANGED: {
        applyDpi(HIWORD(wParam));
        const RECT *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void frmOption::command(int id, int code)
{
    if (id == IdFileName) {
        if (code == EN_SETFOCUS)
            m_form.txtFileName_GotFocus();
        return;
    }
    if (code != BN_CLICKED)
        return;
    switch (id) {
    case IdOK:
        m_form.OKButton_Click();
        break;
    case IdCancel:
        m_form.CancelButton_Click();
        break;
    case IdSoundEnable:
        setCheckValue(OptionsForm::NextCheckValue(checkValue())); // a 3-state box moves itself no further
        m_form.chkSoundEnable_Click();
        break;
    case IdOpenFile:
        m_form.cmdOpenFile_Click();
        break;
    case IdPlay:
        m_form.cmdPlay_Click();
        break;
    default:
        break;
    }
}

// ---- What the options logic asks of its window and of the settings ----

CheckValue frmOption::checkValue() const
{
    const LRESULT state = SendMessageW(chkSoundEnable, BM_GETCHECK, 0, 0);
    return state == BST_CHECKED      ? CheckValue::Checked
        : state == BST_INDETERMINATE ? CheckValue::Grayed
                                     : CheckValue::Unchecked;
}

void frmOption::setCheckValue(CheckValue value)
{
    SendMessageW(chkSoundEnable, BM_SETCHECK,
                 value == CheckValue::Checked      ? BST_CHECKED
                     : value == CheckValue::Grayed ? BST_INDETERMINATE
                                                   : BST_UNCHECKED,
                 0);
}

std::u16string frmOption::pathText() const
{
    return win32::fromWide(win32::windowText(txtFileName));
}

void frmOption::setPathText(const std::u16string &text)
{
    // The box holds no more than the longest path; a longer value shows cut.
    SetWindowTextW(txtFileName,
                   win32::toWide(std::u16string_view(text).substr(0, OptionsForm::MaxPathLength)).c_str());
}

void frmOption::selectAllPathText()
{
    SendMessageW(txtFileName, EM_SETSEL, 0, -1);
}

void frmOption::setFrameVisible(bool visible)
{
    ShowWindow(frameSound, visible ? SW_SHOWNA : SW_HIDE);
}

std::u16string frmOption::showOpenDialog(const std::u16string &filter)
{
    // "description|pattern" as the dialog takes it: NUL-separated, ending in two NULs.
    std::wstring filters = win32::toWide(filter);
    for (wchar_t &c : filters) {
        if (c == L'|')
            c = L'\0';
    }
    filters.append(2, L'\0');
    std::vector<wchar_t> fileName(32768, L'\0');
    OPENFILENAMEW dialog {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_window;
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = static_cast<DWORD>(fileName.size());
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_EXPLORER;
    if (!GetOpenFileNameW(&dialog))
        return {};
    return win32::fromWide(fileName.data());
}

void frmOption::showWarning(const std::u16string &text, const std::u16string &title)
{
    // Only OK warns, and the window unloads right after: the warning comes once the window is gone,
    // over its owner. A box closed just before its owner is destroyed leaves the window manager to
    // pass the keyboard on in the middle of the two, and it may hand it to no window at all.
    m_warning = {win32::toWide(text), win32::toWide(title)};
}

void frmOption::unload()
{
    m_unloaded = true; // the modal loop ends and unloads the window
}
