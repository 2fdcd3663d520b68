// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/failurereason.h"

#include "core/mainwindowdesign.h"
#include "win32/wintext.h"

namespace win32 {

std::wstring failureReason(const wchar_t *what)
{
    const DWORD error = GetLastError();
    std::wstring text = std::wstring(what) + L"に失敗しました。";
    wchar_t buffer[512] {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        error, 0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    std::wstring reason(buffer, length);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r'))
        reason.pop_back();
    text += L"\n" + reason + L"（エラー " + std::to_wstring(error) + L"）";
    return text;
}

void showFailure(HWND owner, std::wstring_view headline, const std::wstring &reason)
{
    MessageBoxW(owner, (std::wstring(headline) + L"\n\n" + reason).c_str(),
                toWide(frmMainDesign::Caption).c_str(), MB_OK | MB_ICONERROR);
}

} // namespace win32
