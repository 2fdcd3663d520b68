// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

namespace platform {

// Window designs are given in twips: 1440 to the inch, 15 to a logical pixel at 96 dpi.
// Qt's high-DPI scaling takes the logical pixels on from there.
inline constexpr int TwipsPerPixel = 15;

constexpr int twips(int value)
{
    return value / TwipsPerPixel;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
}

} // namespace platform
