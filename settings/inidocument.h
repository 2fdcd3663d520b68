// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/textencoding.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// The bytes of a profile (INI) file, with lookup and in-place edits of single keys, read as
// Windows' own profile functions read them, with two mends: UTF-8, with or without a mark, reads
// as UTF-8, and long values are not cut.
//
// Section and key names match without regard to ASCII case; space, tab and vertical tab around
// names and values are ignored (form feed and Ctrl-Z are not); a section name ends at the first "]",
// which may be missing; a value in matching double or single quotes comes back without them; a line
// starting with ";" is a comment; a line without "=" is no key; the first section and the first key of
// a name win. LF, CRLF and CR line endings all read.
//
// The encoding: a UTF-16 mark (either byte order) or a UTF-8 mark says so; otherwise valid UTF-8
// with non-ASCII bytes is UTF-8, bytes that are not valid UTF-8 are the legacy code page, and plain
// ASCII is taken as the platform's plain text (UTF-8 where the Unicode form is UTF-8, else the legacy
// code page). An empty file takes the Unicode form.
//
// An edit changes only the bytes it must: the value of an existing key, or one inserted line or
// section. Every other byte, the mark and the encoding included, stays, unless the new text has no
// form in the legacy code page: then the whole file takes the Unicode form, provided every byte of
// it converts.
class IniDocument final
{
public:
    enum class WriteResult {
        Stored,
        InvalidName, // empty, or a name that would not read back as itself
        InvalidValue, // a line break, a NUL or a lone surrogate
        NotRepresentable, // not in the file's encoding, and the file cannot convert without loss
    };

    IniDocument(std::string bytes, const LegacyCodePage &legacy, UnicodeForm unicodeForm);

    // The file's bytes, in the file's own encoding.
    std::string bytes() const;
    // The same, taken out of the document without a copy where the file is not UTF-16: a large
    // file's save then touches its bytes once less.
    std::string takeBytes() &&;
    TextEncoding encoding() const { return m_encoding; }
    bool isUtf16() const { return m_utf16 != Utf16::No; }

    // The value of the first key of that name in the first section of that name, up to its first
    // NUL; nothing when the section or the key is missing.
    std::optional<std::u16string> value(std::u16string_view section, std::u16string_view key) const;
    // The values of several keys of the section, found in one pass over the file.
    std::vector<std::optional<std::u16string>> values(std::u16string_view section,
                                                      const std::vector<std::u16string_view> &keys) const;

    // Stores key=value in the section, creating the section or the key as needed. Anything but
    // Stored leaves the document as it was.
    WriteResult setValue(std::u16string_view section, std::u16string_view key, std::u16string_view value);

private:
    struct Location;
    // Where each key is (or would go) in the first section of the name; one pass for them all.
    std::vector<Location> locate(std::u16string_view section,
                                 const std::vector<std::u16string_view> &keys) const;
    Location locate(std::u16string_view section, std::u16string_view key) const;
    std::u16string valueAt(const Location &location) const;
    std::string lineEnding() const;
    std::optional<std::string> encode(std::u16string_view text) const;
    std::u16string decode(std::string_view bytes) const;
    bool convertToUnicode();

    enum class Utf16 {
        No,
        LittleEndian,
        BigEndian,
    };

    const LegacyCodePage *m_legacy;
    UnicodeForm m_unicodeForm;
    std::string m_bytes; // a UTF-16 file's text as UTF-8, without the mark
    TextEncoding m_encoding = TextEncoding::Utf8;
    std::size_t m_bodyStart = 0; // 3 after a UTF-8 byte order mark
    Utf16 m_utf16 = Utf16::No;
    bool m_utf16Convertible = true; // false when the UTF-16 text holds a lone surrogate
    std::string m_utf16Tail; // an odd last byte of a UTF-16 file, kept as it was
};

} // namespace settings
