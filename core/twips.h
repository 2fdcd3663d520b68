// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace core {

// A control's place in its window's design, in twips (1440 to the inch, 15 to a pixel at 96 dpi)
// from the top-left corner of the client area of its parent.
struct TwipsRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

} // namespace core
