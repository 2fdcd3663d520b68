// SPDX-License-Identifier: GPL-3.0-or-later
// Reads what a user sees of the running Win32 program, for the Wine test: waits for a top-level
// window of a given title and prints each of its controls as one UTF-8 line
//   class <TAB> visible (0/1) <TAB> check state (0/1/2, - for no check box) <TAB> text
//   wine-probe.exe show TITLE    (exit 1 when no such window comes within 10 s)
//   wine-probe.exe gone TITLE    (exit 1 when the window is still there after 10 s)
#include <windows.h>

#include <string>

namespace {

void print(const std::wstring &text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
              nullptr);
}

BOOL CALLBACK printControl(HWND control, LPARAM /*unused*/)
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
    print(std::wstring(className) + L'\t' + (IsWindowVisible(control) ? L'1' : L'0') + L'\t' + check + L'\t'
          + text + L'\n');
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc != 3)
        return 2;
    const std::wstring command = argv[1];
    for (int attempt = 0; attempt < 200; ++attempt) {
        HWND window = FindWindowW(nullptr, argv[2]);
        if (command == L"show" && window) {
            EnumChildWindows(window, printControl, 0);
            return 0;
        }
        if (command == L"gone" && !window)
            return 0;
        Sleep(50);
    }
    return 1;
}
