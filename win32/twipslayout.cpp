// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/twipslayout.h"

#include "core/mainwindowdesign.h"
#include "win32/wintext.h"

namespace win32 {

int twipsToPixels(int twips, UINT dpi)
{
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

TwipsLayout::~TwipsLayout()
{
    releaseFonts();
}

void TwipsLayout::add(HWND control, const core::TwipsRect &design, Font font)
{
    m_entries.push_back(
        {control, {design.left, design.top, design.left + design.width, design.top + design.height}, font});
}

void TwipsLayout::clear()
{
    m_entries.clear();
    releaseFonts();
}

void TwipsLayout::releaseFonts()
{
    if (m_userInterface)
        DeleteObject(m_userInterface);
    if (m_display)
        DeleteObject(m_display);
    m_userInterface = nullptr;
    m_display = nullptr;
}

void TwipsLayout::apply(UINT dpi)
{
    // The fonts of the old scale stay selected in the controls until the new ones replace them.
    HFONT oldUserInterface = m_userInterface;
    HFONT oldDisplay = m_display;

    // A font that cannot be made at the new scale leaves the old one; without any, the control keeps
    // its own.
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof metrics;
    HFONT userInterface
        = SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)
        ? CreateFontIndirectW(&metrics.lfMessageFont)
        : nullptr;
    HFONT display = CreateFontW(-MulDiv(frmMainDesign::DisplayFontPoints, static_cast<int>(dpi), 72), 0, 0, 0,
                                FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                                toWide(frmMainDesign::DisplayFontName).c_str());
    if (userInterface)
        m_userInterface = userInterface;
    else
        oldUserInterface = nullptr;
    if (display)
        m_display = display;
    else
        oldDisplay = nullptr;

    for (const Entry &entry : m_entries) {
        const int left = twipsToPixels(entry.twips.left, dpi);
        const int top = twipsToPixels(entry.twips.top, dpi);
        SetWindowPos(entry.control, nullptr, left, top, twipsToPixels(entry.twips.right, dpi) - left,
                     twipsToPixels(entry.twips.bottom, dpi) - top, SWP_NOZORDER | SWP_NOACTIVATE);
        HFONT font = entry.font == Font::Display ? m_display : m_userInterface;
        SendMessageW(entry.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }

    if (oldUserInterface)
        DeleteObject(oldUserInterface);
    if (oldDisplay)
        DeleteObject(oldDisplay);
}

} // namespace win32
