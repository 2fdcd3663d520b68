// SPDX-License-Identifier: GPL-3.0-or-later
// Decimal text to a 16-bit integer, as a stored check box state is read back, and two-digit numbers
// as the display shows them.
#include "core/textnumber.h"

#include <doctest/doctest.h>

#include <optional>
#include <string_view>

TEST_CASE("numbers show with at least two digits")
{
    CHECK(core::formatTwoDigits(0) == u"00");
    CHECK(core::formatTwoDigits(7) == u"07");
    CHECK(core::formatTwoDigits(99) == u"99");
    CHECK(core::formatTwoDigits(100) == u"100");
}

TEST_CASE("decimal text converts with blanks, signs, leading zeros and fractions rounded to even")
{
    struct Row
    {
        std::u16string_view text;
        int value;
    };
    for (const Row &row :
         {Row {u"1", 1}, Row {u" 01 ", 1}, Row {u"0000000000000000000000002", 2}, Row {u"-7", -7},
          Row {u"-0", 0}, Row {u"0.5", 0}, Row {u"1.5", 2}, Row {u"2.5", 2}, Row {u"-2.5", -2},
          Row {u"0.5000001", 1}, Row {u"1.49999", 1}, Row {u".7", 1}, Row {u"\t3\t", 3},
          Row {u"32767", 32767}, Row {u"-32768", -32768}, Row {u"32767.4", 32767}}) {
        CAPTURE(std::u16string(row.text));
        const std::optional<std::int16_t> value = core::toInt16(row.text);
        REQUIRE(value.has_value());
        CHECK(*value == row.value);
    }
}

TEST_CASE("text that is no 16-bit number has no value")
{
    for (const std::u16string_view text : {u"", u"abc", u"1a", u"1 0", u"-", u".", u"- 1", u"32768",
                                           u"-32769", u"32767.5", u"１", u"99999999999999999999"}) {
        CAPTURE(std::u16string(text));
        CHECK_FALSE(core::toInt16(text).has_value());
    }
}
