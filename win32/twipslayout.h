// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/twips.h"

#include <windows.h>

#include <vector>

namespace win32 {

// Twips (1440 to the inch) as pixels at a monitor's dots per inch: 15 twips a pixel at 96 dpi.
int twipsToPixels(int twips, UINT dpi);

// The controls of one window, placed from their design in twips and given their fonts for the
// window's current DPI; applied again when the window moves to a monitor of another scale.
class TwipsLayout final
{
public:
    enum class Font {
        UserInterface, // the platform's message font
        Display, // the main window's large display
    };

    TwipsLayout() = default;
    TwipsLayout(const TwipsLayout &) = delete;
    TwipsLayout &operator=(const TwipsLayout &) = delete;
    ~TwipsLayout();

    void add(HWND control, const core::TwipsRect &design, Font font = Font::UserInterface);
    void apply(UINT dpi);
    // Forgets the controls (their window is gone) and lets the fonts go.
    void clear();

private:
    struct Entry
    {
        HWND control;
        RECT twips;
        Font font;
    };
    void releaseFonts();

    std::vector<Entry> m_entries;
    HFONT m_userInterface = nullptr;
    HFONT m_display = nullptr;
};

} // namespace win32
