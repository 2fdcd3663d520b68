// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace platform {

// How the bytes of a text file stand for characters. Files written on Japanese Windows hold
// CP932 (Microsoft's Shift-JIS, in which 0x5C is the backslash, not the yen sign).
enum class TextEncoding {
    Utf8,
    Cp932,
};

// True when the bytes are well-formed UTF-8: no overlong forms, surrogates or values past U+10FFFF.
bool isValidUtf8(QByteArrayView bytes);

// The encoding a file's bytes are read in: UTF-8 when they are valid UTF-8, CP932 otherwise.
TextEncoding detectEncoding(QByteArrayView bytes);

// These throw std::runtime_error when the system cannot convert CP932 at all.

// Decodes the bytes; nothing when they are not valid in the encoding.
std::optional<QString> decodeStrict(QByteArrayView bytes, TextEncoding encoding);

// Decodes the bytes, with U+FFFD for each byte that is not valid in the encoding.
QString decodeLossy(QByteArrayView bytes, TextEncoding encoding);

// Encodes the text; nothing when a character has no form in the encoding that reads back the same.
std::optional<QByteArray> encode(QStringView text, TextEncoding encoding);

// The number of bytes of the character that starts at the byte `lead`: 2 for a CP932 lead byte,
// 1 otherwise. In UTF-8 every ASCII byte is a character of its own, so 1 is always right there.
inline int charLength(unsigned char lead, TextEncoding encoding)
{
    if (encoding == TextEncoding::Cp932 && ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)))
        return 2;
    return 1;
}

} // namespace platform
