// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/profile/textcodec.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

namespace platform {

// The bytes of a profile (INI) file, with lookup and in-place edits of single keys.
//
// Reading follows what hand-written and Windows-written files rely on: section and key names
// match without regard to ASCII case, blanks around names and values are ignored, a value in
// matching double or single quotes comes back without them, a line starting with ";" is a comment,
// a line without "=" is no key, and the first section and the first key of a name win. LF, CRLF
// and CR line endings all read.
//
// An edit changes only the bytes it must: the value of an existing key, or one inserted line or
// section. Every other byte, the byte order mark and the encoding included, stays as it was,
// unless the new text has no form in the file's CP932: then the whole file becomes UTF-8.
// A file that starts with a UTF-16 byte order mark (either byte order) is read and written in
// UTF-16; inside, the document holds it as UTF-8.
class IniDocument final
{
public:
    enum class WriteResult {
        Stored,
        InvalidName, // empty, or a name that would not read back as itself
        InvalidValue, // a line break, a NUL or a lone surrogate
        NotRepresentable, // not CP932, and the file cannot become UTF-8 without losing bytes
    };

    explicit IniDocument(QByteArray bytes = {});
    Q_DISABLE_COPY_MOVE(IniDocument)

    // The file's bytes, in the file's own encoding.
    QByteArray bytes() const;
    TextEncoding encoding() const { return m_encoding; }

    // The value of the first key of that name in the first section of that name, up to its first
    // NUL; nothing when the section or the key is missing.
    std::optional<QString> value(QStringView section, QStringView key) const;

    // Stores key=value in the section, creating the section or the key as needed.
    WriteResult setValue(QStringView section, QStringView key, QStringView value);

private:
    struct Location;
    Location locate(QStringView section, QStringView key) const;
    QByteArray lineEnding() const;

    enum class Utf16 {
        No,
        LittleEndian,
        BigEndian,
    };

    QByteArray m_bytes; // a UTF-16 file's text as UTF-8, without the mark
    TextEncoding m_encoding = TextEncoding::Utf8;
    qsizetype m_bodyStart = 0; // 3 after a UTF-8 byte order mark
    Utf16 m_utf16 = Utf16::No;
    bool m_utf16Convertible = true; // false when the UTF-16 text holds a lone surrogate
    QByteArray m_utf16Tail; // an odd last byte of a UTF-16 file, kept as it was
};

} // namespace platform
