// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/frmoption.h"

#include "core/optionwindowdesign.h"
#include "win32/dialogkeys.h"
#include "win32/failurereason.h"
#include "win32/resources.h"
#include "win32/wintext.h"

#include <commdlg.h>

namespace {

namespace Design = frmOptionDesign;

constexpr wchar_t ClassName[] = L"PomvaleOption";
// No border and no title bar; owned by the main window, so it stays out of the taskbar.
constexpr DWORD Style = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD ExStyle = WS_EX_CONTROLPARENT;

} // namespace

bool frmOption::registerClass(HINSTANCE instance)
{
    return BaseWindow::registerClass(instance, ClassName);
}

frmOption::frmOption(HINSTANCE instance)
    : BaseWindow(instance)
{ }

frmOption::~frmOption()
{
    destroy(); // while the handlers' objects are whole
}

// The controls in tab order; the label, the frame and its caption box take no focus.
std::vector<win32::ControlRow> frmOption::controlTable()
{
    using namespace win32;
    return {
        {.control = &OKButton,
         .kind = PushButton,
         .rect = Design::OKButton,
         .caption = Design::OKButtonCaption,
         .handler = [this] { m_form.OKButton_Click(); }},
        {.kind = PushButton,
         .rect = Design::CancelButton,
         .caption = Design::CancelButtonCaption,
         .handler = [this] { m_form.CancelButton_Click(); }},
        {.control = &chkSoundEnable,
         .kind = ThreeStateCheckBox,
         .rect = Design::chkSoundEnable,
         .caption = Design::chkSoundEnableCaption,
         .handler = [this] { chkSoundEnable_Click(); }},
        {.kind = Label, .rect = Design::lblTitle, .caption = Design::Caption},
        {.control = &frameSound, .kind = Frame, .rect = Design::frameSound},
        {.kind = GroupBox,
         .rect = {0, 0, Design::frameSound.width, Design::frameSound.height},
         .caption = Design::frameSoundCaption,
         .parent = &frameSound},
        {.control = &txtFileName,
         .kind = TextBox,
         .rect = Design::txtFileName,
         .caption = Design::txtFileNameText,
         .handler = [this] { m_form.txtFileName_GotFocus(); },
         .notification = EN_SETFOCUS,
         .parent = &frameSound},
        {.kind = PictureButton,
         .rect = Design::cmdOpenFile,
         .caption = Design::cmdOpenFileName,
         .handler = [this] { m_form.cmdOpenFile_Click(); },
         .parent = &frameSound,
         .picture = {IDB_OPENFILE, 16, 16},
         .toolTip = Design::cmdOpenFileToolTip},
        {.kind = PictureButton,
         .rect = Design::cmdPlay,
         .caption = Design::cmdPlayName,
         .handler = [this] { m_form.cmdPlay_Click(); },
         .parent = &frameSound,
         .picture = {IDB_PLAY, 24, 22}},
    };
}

void frmOption::showModal(HWND owner)
{
    m_unloaded = false;
    if (!create(ClassName, Design::Caption, Style, ExStyle, owner, controlTable())) {
        win32::showFailure(owner, L"オプション画面を開けませんでした。",
                           win32::failureReason(L"オプション画面の作成"));
        return;
    }
    SendMessageW(txtFileName, EM_SETLIMITTEXT, OptionsForm::MaxPathLength, 0);
    m_form.Form_Load();

    // Centred over the owner, at the owner's scale.
    const UINT dpi = GetDpiForWindow(owner);
    controls().apply(dpi);
    RECT ownerFrame {};
    GetWindowRect(owner, &ownerFrame);
    const int width = win32::twipsToPixels(Design::Width, dpi);
    const int height = win32::twipsToPixels(Design::Height, dpi);
    SetWindowPos(window(), nullptr, (ownerFrame.left + ownerFrame.right - width) / 2,
                 (ownerFrame.top + ownerFrame.bottom - height) / 2, width, height, SWP_NOZORDER);

    EnableWindow(owner, FALSE);
    ShowWindow(window(), SW_SHOW);
    SetFocus(OKButton); // the first control in tab order
    MSG message {};
    while (!m_unloaded) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) { // the program ends: hand the quit on to the main loop
            PostQuitMessage(got == 0 ? static_cast<int>(message.wParam) : 1);
            break;
        }
        if (!win32::handleDialogKeys(window(), message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // The owner takes input again before this window goes, so that it becomes the active window.
    EnableWindow(owner, TRUE);
    destroy();
    m_form.Form_Unload();
    if (m_warning) {
        MessageBoxW(owner, m_warning->text.c_str(), m_warning->title.c_str(), MB_OK | MB_ICONWARNING);
        m_warning.reset();
    }
}

LRESULT frmOption::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE: // any other way of closing: nothing is stored
        unload();
        return 0;
    case WM_DPICHANGED: {
        controls().apply(HIWORD(wParam));
        const RECT *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(window(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default:
        return handleByDefault(message, wParam, lParam);
    }
}

void frmOption::chkSoundEnable_Click()
{
    setCheckValue(OptionsForm::NextCheckValue(checkValue())); // a 3-state box moves itself no further
    m_form.chkSoundEnable_Click();
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
    dialog.hwndOwner = window();
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
