// SPDX-License-Identifier: GPL-3.0-or-later
// The layout in twips: where the controls land and which fonts they get at 100, 150 and 200 %.
#include "core/mainwindowdesign.h"
#include "testwindow.h"
#include "win32/twipslayout.h"

#include <doctest/doctest.h>

namespace {

RECT placed(HWND control)
{
    RECT rect {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

LONG fontHeight(HWND control)
{
    LOGFONTW font {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

} // namespace

TEST_CASE("controls are placed from twips, rounded to the nearest pixel, with the fonts of the scale")
{
    struct Row
    {
        UINT dpi;
        RECT label; // the design {120, 360, 2535, 375} twips, in pixels
    };
    TestWindow test;
    HWND label = test.add(L"STATIC", 0, 1);
    HWND display = test.add(L"STATIC", 0, 2);
    win32::TwipsLayout layout;
    layout.add(label, {120, 360, 2535, 375});
    layout.add(display, frmMainDesign::lblDisp, win32::TwipsLayout::Font::Display);
    // 1.5 pixels a 15 twips at 144 dpi: halves round up, as Windows' MulDiv does.
    for (const Row &row : {Row {96, {8, 24, 177, 49}}, Row {144, {12, 36, 266, 74}},
                           Row {192, {16, 48, 354, 98}}, Row {96, {8, 24, 177, 49}}}) {
        CAPTURE(row.dpi);
        layout.apply(row.dpi);
        const RECT rect = placed(label);
        CHECK(rect.left == row.label.left);
        CHECK(rect.top == row.label.top);
        CHECK(rect.right == row.label.right);
        CHECK(rect.bottom == row.label.bottom);

        NONCLIENTMETRICSW metrics {};
        metrics.cbSize = sizeof metrics;
        REQUIRE(SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, row.dpi));
        CHECK(fontHeight(label) == metrics.lfMessageFont.lfHeight);
        CHECK(fontHeight(display)
              == -MulDiv(frmMainDesign::DisplayFontPoints, static_cast<int>(row.dpi), 72));
    }
}
