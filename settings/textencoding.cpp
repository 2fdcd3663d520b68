// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/textencoding.h"

#include <cstdint>
#include <cstring>

namespace settings {

namespace {

// The length of the well-formed sequence at p, or 0 when none starts there.
int sequenceLength(const unsigned char *p, const unsigned char *end)
{
    const unsigned char c = *p;
    if (c < 0x80)
        return 1;
    int extra;
    unsigned char min2 = 0x80, max2 = 0xBF; // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        extra = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
        extra = 2;
        if (c == 0xE0)
            min2 = 0xA0; // overlong
        else if (c == 0xED)
            max2 = 0x9F; // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        extra = 3;
        if (c == 0xF0)
            min2 = 0x90; // overlong
        else if (c == 0xF4)
            max2 = 0x8F; // past U+10FFFF
    } else {
        return 0;
    }
    if (end - p <= extra || p[1] < min2 || p[1] > max2)
        return 0;
    for (int i = 2; i <= extra; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
    }
    return extra + 1;
}

} // namespace

bool isValidUtf8(std::string_view bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        // Most of a settings file is ASCII: skip it eight bytes at a time.
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            if (word & 0x8080808080808080ULL)
                break;
            p += 8;
        }
        if (p == end)
            break;
        const int length = sequenceLength(p, end);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}

std::u16string utf8ToUtf16(std::string_view bytes)
{
    std::u16string text;
    text.reserve(bytes.size());
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        const int length = sequenceLength(p, end);
        if (length == 0) {
            text += u'\uFFFD';
            ++p;
            continue;
        }
        char32_t c = length == 1 ? *p : *p & (0x7F >> length);
        for (int i = 1; i < length; ++i)
            c = (c << 6) | (p[i] & 0x3F);
        if (c >= 0x10000) {
            text += char16_t(0xD800 + ((c - 0x10000) >> 10));
            text += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            text += char16_t(c);
        }
        p += length;
    }
    return text;
}

std::optional<std::string> utf16ToUtf8(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c >= 0xDC00 || i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF)
                return std::nullopt;
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        if (c < 0x80) {
            bytes += char(c);
        } else if (c < 0x800) {
            bytes += char(0xC0 | (c >> 6));
            bytes += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            bytes += char(0xE0 | (c >> 12));
            bytes += char(0x80 | ((c >> 6) & 0x3F));
            bytes += char(0x80 | (c & 0x3F));
        } else {
            bytes += char(0xF0 | (c >> 18));
            bytes += char(0x80 | ((c >> 12) & 0x3F));
            bytes += char(0x80 | ((c >> 6) & 0x3F));
            bytes += char(0x80 | (c & 0x3F));
        }
    }
    return bytes;
}

} // namespace settings
