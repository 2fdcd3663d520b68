// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/textnumber.h"

#include <algorithm>
#include <limits>

namespace core {

std::u16string formatTwoDigits(int value)
{
    // Only a count gone wrong is negative; it then shows its sign rather than garbage.
    unsigned magnitude = value < 0 ? 0U - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude > 0);
    if (digits.size() < 2)
        digits.insert(digits.begin(), u'0');
    if (value < 0)
        digits.insert(digits.begin(), u'-');
    return digits;
}

namespace {

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

std::optional<std::int16_t> toInt16(std::u16string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;

    std::size_t at = begin;
    bool negative = false;
    if (at < end && (text[at] == u'+' || text[at] == u'-')) {
        negative = text[at] == u'-';
        ++at;
    }

    // The digits are read one by one rather than through a double, so that no run of leading zeros
    // or fraction digits can overflow or round twice. The magnitude saturates beyond the 16-bit range.
    constexpr long long Limit = 1LL << 16;
    long long magnitude = 0;
    std::size_t digits = 0;
    for (; at < end && isDigit(text[at]); ++at, ++digits)
        magnitude = std::min(Limit, magnitude * 10 + (text[at] - u'0'));

    int firstFraction = 0; // the first digit after the point
    bool moreFraction = false; // any non-zero digit after the first
    if (at < end && text[at] == u'.') {
        ++at;
        for (std::size_t position = 0; at < end && isDigit(text[at]); ++at, ++position, ++digits) {
            const int digit = text[at] - u'0';
            if (position == 0)
                firstFraction = digit;
            else if (digit != 0)
                moreFraction = true;
        }
    }
    if (digits == 0 || at != end)
        return std::nullopt;

    const bool roundUp = firstFraction > 5 || (firstFraction == 5 && (moreFraction || magnitude % 2 == 1));
    if (roundUp)
        magnitude = std::min(Limit, magnitude + 1);
    const long long value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

} // namespace core
