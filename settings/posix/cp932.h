// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace settings::posix {

// CP932 as Windows' code page 932 reads and writes it: iconv's CP932, plus the five single bytes
// that iconv leaves undecoded and Windows gives characters of their own (0x80 U+0080, 0xA0 U+F8F0,
// 0xFD-0xFF U+F8F1-U+F8F3). These throw std::runtime_error when iconv has no CP932 at all.
bool isCp932LeadByte(unsigned char byte);
std::optional<std::u16string> decodeCp932(std::string_view bytes, bool lossy);
// Nothing when a character has no form that reads back as itself.
std::optional<std::string> encodeCp932(std::u16string_view text);

} // namespace settings::posix
