// SPDX-License-Identifier: GPL-3.0-or-later
#include "profilefuzz.h"

#include "settings/inidocument.h"
#include "settings/seam.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

using settings::IniDocument;

namespace {

constexpr std::array<std::u16string_view, 4> sections {u"Option", u"option", u"セクション", u"A b"};
constexpr std::array<std::u16string_view, 4> keys {u"Enable", u"PATH", u"キー", u"x"};

bool sameName(std::u16string_view a, std::u16string_view b)
{
    const auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) {
               return fold(x) == fold(y);
           });
}

// A reference for UTF-8 validity, written plainly: decode each sequence and check its value.
bool plainlyValidUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int length = lead < 0x80 ? 1
            : lead >> 5 == 6           ? 2
            : lead >> 4 == 14          ? 3
            : lead >> 3 == 30          ? 4
                                       : 0;
        if (length == 0 || i + std::size_t(length) > bytes.size())
            return false;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + std::size_t(k)]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (next & 0x3F);
        }
        const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        i += std::size_t(length);
    }
    return true;
}

} // namespace

bool checkProfileInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return true;
    const std::u16string_view section = sections[data[0] & 3];
    const std::u16string_view key = keys[(data[0] >> 2) & 3];
    const size_t valueLength = std::min<size_t>(data[0] >> 4, size - 1);
    const std::u16string value
        = settings::utf8ToUtf16(std::string_view(reinterpret_cast<const char *>(data + 1), valueLength));
    const std::string file(reinterpret_cast<const char *>(data + 1 + valueLength), size - 1 - valueLength);

    if (settings::isValidUtf8(file) != plainlyValidUtf8(file))
        return false;

    const settings::Seam &seam = settings::platformSeam();
    IniDocument document(file, seam, seam.unicodeForm());
    std::vector<std::optional<std::u16string>> before;
    for (const auto s : sections) {
        for (const auto k : keys)
            before.push_back(document.value(s, k));
    }

    const auto result = document.setValue(section, key, value);
    if (result != IniDocument::WriteResult::Stored)
        return document.bytes() == file;

    if (document.value(section, key) != value)
        return false;
    std::size_t probe = 0;
    for (const auto s : sections) {
        for (const auto k : keys) {
            const bool written = sameName(s, section) && sameName(k, key);
            if (!written && document.value(s, k) != before[probe])
                return false;
            ++probe;
        }
    }

    // Read afresh, the file gives the same value, unless the edit changed how its encoding is
    // guessed (a replaced value held its only bytes that were not UTF-8).
    const IniDocument reread(document.bytes(), seam, seam.unicodeForm());
    if (reread.encoding() == document.encoding() && reread.value(section, key) != value)
        return false;
    return true;
}
