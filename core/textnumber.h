// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// A number from 0 up as decimal text with at least two digits: 3 gives "03", 45 gives "45".
std::u16string formatTwoDigits(int value);

// Decimal text as a 16-bit integer: an optional sign, digits with any number of leading zeros and an
// optional fraction after ".", with blanks (spaces, tabs) around it. A fraction rounds to the nearest
// integer, a half to the even one ("2.5" gives 2, "3.5" gives 4). No value for text that is no such
// number, or whose rounded value lies outside -32768..32767.
std::optional<std::int16_t> toInt16(std::u16string_view text);

} // namespace core
