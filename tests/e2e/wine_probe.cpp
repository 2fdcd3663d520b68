// SPDX-License-Identifier: GPL-3.0-or-later
// Reads what a user sees of the running Win32 program, for the Wine test: waits for a top-level
// window of a given title and prints each of its controls as one UTF-8 line
//   class <TAB> visible (0/1) <TAB> check state (0/1/2, - for no check box) <TAB> text
//   wine-probe.exe show TITLE        (exit 1 when no such window comes within 10 s)
//   wine-probe.exe gone TITLE        (exit 1 when the window is still there after 10 s)
//   wine-probe.exe wait TITLE LINE   (exit 1 when no control of the window shows LINE within 20 s;
//                                     prints the controls as they were last seen)
//   wine-probe.exe focus TITLE       (the line of the control that has the keyboard focus, if it
//                                     is one of the window's)
//   wine-probe.exe names TITLE       (each control as a screen reader reads it, through the
//                                     accessibility layer: class <TAB> role <TAB> name)
//   wine-probe.exe replace TITLE TEXT (replaces the whole text of the focused control of the window
//                                     by TEXT, given as typed characters; exit 1 when no control
//                                     of the window has the focus within 10 s)
#include <windows.h>

#include <oleacc.h>

#include <cwchar>
#include <string>

namespace {

std::string utf8(const std::wstring &text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

void print(const std::wstring &text)
{
    const std::string bytes = utf8(text);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
              nullptr);
}

std::wstring controlLine(HWND control)
{
    wchar_t className[64] {};
    GetClassNameW(control, className, 64);
    // A control of another process tells its own text only when asked with WM_GETTEXT.
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    text.resize(copied);
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    const bool checkBox = _wcsicmp(className, L"Button") == 0 && type >= BS_CHECKBOX && type <= BS_AUTO3STATE
        && type != BS_GROUPBOX && type != BS_USERBUTTON;
    const std::wstring check = checkBox ? std::to_wstring(SendMessageW(control, BM_GETCHECK, 0, 0)) : L"-";
    return std::wstring(className) + L'\t' + (IsWindowVisible(control) ? L'1' : L'0') + L'\t' + check + L'\t'
        + text + L'\n';
}

BOOL CALLBACK addControl(HWND control, LPARAM lines)
{
    // The callback's LPARAM carries the caller's string, as EnumChildWindows passes it.
    *reinterpret_cast<std::wstring *>(lines) += controlLine(control); // NOLINT(performance-no-int-to-ptr)
    return TRUE;
}

std::wstring controlLines(HWND window)
{
    std::wstring lines;
    EnumChildWindows(window, addControl, reinterpret_cast<LPARAM>(&lines));
    return lines;
}

// The role as a word, for the roles the program's controls have; a number for any other.
std::wstring roleWord(long role)
{
    switch (role) {
    case ROLE_SYSTEM_PUSHBUTTON:
        return L"push button";
    case ROLE_SYSTEM_CHECKBUTTON:
        return L"check box";
    case ROLE_SYSTEM_STATICTEXT:
        return L"text";
    case ROLE_SYSTEM_TEXT:
        return L"editable text";
    case ROLE_SYSTEM_GROUPING:
        return L"grouping";
    case ROLE_SYSTEM_CLIENT:
        return L"client";
    default:
        return std::to_wstring(role);
    }
}

// What a screen reader hears of a control: the accessibility layer's object for its client area,
// asked for its role and its name, as Narrator and NVDA ask.
std::wstring accessibleLine(HWND control)
{
    wchar_t className[64] {};
    GetClassNameW(control, className, 64);
    std::wstring role = L"-";
    std::wstring name;
    IAccessible *object = nullptr;
    // __uuidof, not IID_IAccessible: MinGW's liboleacc.a exports a symbol of that name that is the
    // DLL's import thunk, not the interface's identifier, and a link may pick it.
    const HRESULT found = AccessibleObjectFromWindow(
        control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible), reinterpret_cast<void **>(&object));
    if (FAILED(found)) {
        wchar_t error[32] {};
        swprintf(error, 32, L"error %08lx", static_cast<unsigned long>(found));
        role = error;
    } else {
        VARIANT self {};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        VARIANT roleValue {};
        if (object->get_accRole(self, &roleValue) == S_OK && roleValue.vt == VT_I4)
            role = roleWord(roleValue.lVal);
        BSTR text = nullptr;
        if (object->get_accName(self, &text) == S_OK && text) {
            name.assign(text, SysStringLen(text));
            SysFreeString(text);
        }
        object->Release();
    }
    return std::wstring(className) + L'\t' + role + L'\t' + name + L'\n';
}

BOOL CALLBACK addAccessible(HWND control, LPARAM lines)
{
    *reinterpret_cast<std::wstring *>(lines) += accessibleLine(control); // NOLINT(performance-no-int-to-ptr)
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc < 3)
        return 2;
    const std::wstring command = argv[1];
    const int attempts = command == L"wait" ? 400 : 200;
    std::wstring seen;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        HWND window = FindWindowW(nullptr, argv[2]);
        if (window)
            seen = controlLines(window);
        if (command == L"show" && window) {
            print(seen);
            return 0;
        }
        if (command == L"gone" && !window)
            return 0;
        if (command == L"wait" && argc == 4
            && (L'\n' + seen).find(L'\n' + std::wstring(argv[3]) + L'\n') != std::wstring::npos)
            return 0;
        if (command == L"names" && window) {
            std::wstring lines;
            if (SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
                EnumChildWindows(window, addAccessible, reinterpret_cast<LPARAM>(&lines));
                CoUninitialize();
            }
            print(lines);
            return 0;
        }
        if ((command == L"focus" || (command == L"replace" && argc == 4)) && window) {
            GUITHREADINFO info {};
            info.cbSize = sizeof info;
            if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus
                && IsChild(window, info.hwndFocus)) {
                if (command == L"focus") {
                    print(controlLine(info.hwndFocus));
                    return 0;
                }
                // Posted in order to the control's queue: the selection of the whole text, then each
                // character as the keyboard's translation would post it.
                PostMessageW(info.hwndFocus, EM_SETSEL, 0, -1);
                for (const wchar_t *c = argv[3]; *c; ++c)
                    PostMessageW(info.hwndFocus, WM_CHAR, *c, 1);
                return 0;
            }
        }
        Sleep(50);
    }
    print(seen);
    return 1;
}
