// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/startfailure.h"

namespace win32 {

std::wstring startFailure(const wchar_t *what)
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

} // namespace win32
