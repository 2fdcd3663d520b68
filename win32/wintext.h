// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The logic's UTF-16 text and Windows' wide strings are the same 16-bit units.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

namespace win32 {

inline std::wstring toWide(std::u16string_view text)
{
    return {text.begin(), text.end()};
}

inline std::u16string fromWide(std::wstring_view text)
{
    return {text.begin(), text.end()};
}

// A window's or control's text, whole.
inline std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace win32
