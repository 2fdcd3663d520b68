// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/twips.h"

#include <QRect>
#include <QString>

#include <string_view>

// The windows' designs (core/) as Qt takes them.
namespace platform {

// Designs are given in twips: 1440 to the inch, 15 to a logical pixel at 96 dpi. Qt's high-DPI
// scaling takes the logical pixels on from there.
inline constexpr int TwipsPerPixel = 15;

constexpr int twips(int value)
{
    return value / TwipsPerPixel;
}

constexpr QRect twipsRect(const core::TwipsRect &design)
{
    return {twips(design.left), twips(design.top), twips(design.width), twips(design.height)};
}

// A caption or other text of a design.
inline QString designText(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace platform
