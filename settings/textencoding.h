// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace settings {

// How the text of a settings file is kept. Legacy is the platform's own eight-bit code page: CP932
// on Linux (as Japanese Windows writes it), the system's ANSI code page on Windows.
enum class TextEncoding {
    Utf8,
    Legacy,
};

// The Unicode form that a new file takes, and that a file must take when a value has no form in
// its encoding: the one parameter in which the two programs' encoding rule differs.
enum class UnicodeForm {
    Utf8, // without a mark, as Linux programs write text
    Utf16LE, // with its mark: the only Unicode text file that other Windows programs read
};

// The platform's legacy code page, as the seam supplies it.
class LegacyCodePage
{
public:
    virtual ~LegacyCodePage() = default;
    // True when the byte starts a two-byte character.
    virtual bool isLeadByte(unsigned char byte) const = 0;
    // The text; with lossy, each byte that does not convert becomes a replacement character, and
    // without it such a byte gives nothing.
    virtual std::optional<std::u16string> decode(std::string_view bytes, bool lossy) const = 0;
    // The bytes; nothing when a character has no form that reads back as itself (no best fit).
    virtual std::optional<std::string> encode(std::u16string_view text) const = 0;
};

// True when the bytes are well-formed UTF-8: no overlong forms, surrogates or values past U+10FFFF.
bool isValidUtf8(std::string_view bytes);

// UTF-8 to UTF-16, with U+FFFD for each byte of a sequence that is not well-formed.
std::u16string utf8ToUtf16(std::string_view bytes);

// UTF-16 to UTF-8; nothing when the text holds a lone surrogate.
std::optional<std::string> utf16ToUtf8(std::u16string_view text);

} // namespace settings
