// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/inidocument.h"

#include <algorithm>
#include <cstring>

namespace settings {

namespace {

constexpr std::string_view byteOrderMark("\xEF\xBB\xBF");

// What Windows trims around names and values: not form feed, not Ctrl-Z.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v';
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\v';
}

bool isQuote(char c)
{
    return c == '"' || c == '\'';
}

template<typename Char> Char foldAscii(Char c)
{
    return (c >= Char('A') && c <= Char('Z')) ? Char(c - Char('A') + Char('a')) : c;
}

bool isAscii(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

bool isSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

// A high surrogate at i with its low surrogate after it.
bool opensPair(std::u16string_view text, std::size_t i)
{
    return text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00
        && text[i + 1] <= 0xDFFF;
}

bool hasLoneSurrogate(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (opensPair(text, i))
            ++i;
        else if (isSurrogate(text[i]))
            return true;
    }
    return false;
}

bool hasLineBreakOrNul(std::u16string_view text)
{
    return text.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string_view::npos;
}

bool endsInBlank(std::u16string_view text)
{
    return !text.empty() && (isBlank(text.front()) || isBlank(text.back()));
}

struct Span
{
    std::size_t begin = 0;
    std::size_t end = 0;
};

Span trimmed(const std::string &bytes, Span span)
{
    while (span.begin < span.end && isBlank(bytes[span.begin]))
        ++span.begin;
    while (span.end > span.begin && isBlank(bytes[span.end - 1]))
        --span.end;
    return span;
}

std::string_view view(const std::string &bytes, Span span)
{
    return std::string_view(bytes.data() + span.begin, span.end - span.begin);
}

// UTF-16 code units to UTF-8, a lone surrogate read as U+FFFD.
std::string utf16UnitsToUtf8(std::u16string text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (opensPair(text, i))
            ++i;
        else if (isSurrogate(text[i]))
            text[i] = u'\uFFFD';
    }
    return *utf16ToUtf8(text);
}

} // namespace

struct IniDocument::Location
{
    bool sectionFound = false;
    bool keyFound = false;
    // Where a new key of the section goes: after its last key, or after its header.
    std::size_t insertAt = 0;
    bool insertAfterLineWithoutEnding = false;
    // The key's value as stored, quotes included, and the quote character if it has one.
    Span value;
    char quote = 0;
};

IniDocument::IniDocument(std::string bytes, const LegacyCodePage &legacy, UnicodeForm unicodeForm)
    : m_legacy(&legacy)
    , m_unicodeForm(unicodeForm)
    , m_bytes(std::move(bytes))
{
    const std::string_view all(m_bytes);
    if (all.starts_with("\xFF\xFE") || all.starts_with("\xFE\xFF")) {
        // A file saved as "Unicode" (or its big-endian form) on Windows: its text is edited as
        // UTF-8 and goes back to UTF-16 whole, so that every code unit not edited stays.
        m_utf16 = all.starts_with("\xFF\xFE") ? Utf16::LittleEndian : Utf16::BigEndian;
        const std::size_t units = (m_bytes.size() - 2) / 2;
        std::u16string text(units, u'\0');
        const auto *data = reinterpret_cast<const unsigned char *>(m_bytes.data()) + 2;
        for (std::size_t i = 0; i < units; ++i) {
            const unsigned first = data[2 * i], second = data[2 * i + 1];
            text[i] = char16_t(m_utf16 == Utf16::LittleEndian ? first | second << 8 : first << 8 | second);
        }
        m_utf16Tail = m_bytes.substr(2 + 2 * units);
        m_utf16Convertible = !hasLoneSurrogate(text);
        m_bytes = utf16UnitsToUtf8(std::move(text));
        m_encoding = TextEncoding::Utf8;
    } else if (all.starts_with(byteOrderMark)) {
        // The mark says UTF-8 whatever follows; bytes that are not read as U+FFFD and stay.
        m_bodyStart = byteOrderMark.size();
        m_encoding = TextEncoding::Utf8;
    } else if (m_bytes.empty()) {
        m_encoding = TextEncoding::Utf8;
        if (m_unicodeForm == UnicodeForm::Utf16LE)
            m_utf16 = Utf16::LittleEndian;
    } else if (!isValidUtf8(m_bytes)) {
        m_encoding = TextEncoding::Legacy;
    } else {
        // Plain ASCII is the platform's plain text; where that is UTF-8 the bytes need no look.
        const bool ascii = m_unicodeForm != UnicodeForm::Utf8
            && std::none_of(m_bytes.begin(), m_bytes.end(), [](char c) { return c & 0x80; });
        m_encoding = ascii ? TextEncoding::Legacy : TextEncoding::Utf8;
    }
}

std::u16string IniDocument::decode(std::string_view bytes) const
{
    if (std::none_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; }))
        return std::u16string(bytes.begin(), bytes.end());
    if (m_encoding == TextEncoding::Utf8)
        return utf8ToUtf16(bytes);
    return m_legacy->decode(bytes, true).value_or(std::u16string());
}

std::optional<std::string> IniDocument::encode(std::u16string_view text) const
{
    if (m_encoding == TextEncoding::Utf8)
        return utf16ToUtf8(text);
    if (isAscii(text))
        return std::string(text.begin(), text.end());
    return m_legacy->encode(text);
}

IniDocument::Location IniDocument::locate(std::u16string_view section, std::u16string_view key) const
{
    return locate(section, std::vector<std::u16string_view> {key}).front();
}

std::vector<IniDocument::Location> IniDocument::locate(std::u16string_view section,
                                                       const std::vector<std::u16string_view> &keys) const
{
    // A name wanted by the caller, compared with names in the file without regard to ASCII case.
    // Any byte from 0x80 up starts or continues a non-ASCII character in every encoding read here,
    // so an ASCII name compares byte for byte.
    const auto matches = [this](std::u16string_view wanted, std::string_view candidate) {
        if (isAscii(wanted)) {
            return candidate.size() == wanted.size()
                && std::equal(candidate.begin(), candidate.end(), wanted.begin(),
                              [](char a, char16_t b) { return char16_t(foldAscii(a)) == foldAscii(b); });
        }
        const std::u16string decoded = decode(candidate);
        return decoded.size() == wanted.size()
            && std::equal(decoded.begin(), decoded.end(), wanted.begin(),
                          [](char16_t a, char16_t b) { return foldAscii(a) == foldAscii(b); });
    };

    std::vector<Location> locations(keys.size());
    std::size_t missing = keys.size();
    const char *data = m_bytes.data();
    const std::size_t size = m_bytes.size();
    bool inSection = false;

    std::size_t begin = m_bodyStart;
    // A line ends at LF, CR or CRLF. The next LF is found once for all the lines before it, and a
    // CR only within the line: both with memchr, which a large file needs.
    std::size_t nextLf = size; // the next LF at or after `begin`, once searched
    bool searched = false;
    while (begin < size) {
        if (!searched || nextLf < begin) {
            const auto *lf = static_cast<const char *>(std::memchr(data + begin, '\n', size - begin));
            nextLf = lf ? std::size_t(lf - data) : size;
            searched = true;
        }
        const auto *cr = static_cast<const char *>(std::memchr(data + begin, '\r', nextLf - begin));
        const std::size_t end = cr ? std::size_t(cr - data) : nextLf;
        std::size_t next = end;
        if (next < size)
            next += (data[next] == '\r' && next + 1 < size && data[next + 1] == '\n') ? 2 : 1;

        const Span line = trimmed(m_bytes, {begin, end});
        if (line.begin < line.end && data[line.begin] == '[') {
            if (inSection)
                break; // the first section of the name ends here
            // The name ends at the first "]", or at the end of the line without one. "]" can be
            // the second byte of a legacy double-byte character, so walk the line by characters.
            std::size_t close = line.begin + 1;
            while (close < line.end && data[close] != ']') {
                const bool lead = m_encoding == TextEncoding::Legacy
                    && m_legacy->isLeadByte(static_cast<unsigned char>(data[close]));
                close += lead ? 2 : 1;
            }
            close = std::min(close, line.end);
            if (matches(section, view(m_bytes, trimmed(m_bytes, {line.begin + 1, close})))) {
                inSection = true;
                for (Location &location : locations) {
                    location.sectionFound = true;
                    location.insertAt = next;
                    location.insertAfterLineWithoutEnding = next == end;
                }
            }
        } else if (inSection && line.begin < line.end && data[line.begin] != ';') {
            const auto *equals
                = static_cast<const char *>(std::memchr(data + line.begin, '=', line.end - line.begin));
            if (equals) {
                const std::size_t eq = std::size_t(equals - data);
                const std::string_view name = view(m_bytes, trimmed(m_bytes, {line.begin, eq}));
                for (std::size_t k = 0; k < keys.size(); ++k) {
                    Location &location = locations[k];
                    if (location.keyFound)
                        continue; // the first key of the name wins
                    location.insertAt = next;
                    location.insertAfterLineWithoutEnding = next == end;
                    if (!matches(keys[k], name))
                        continue;
                    location.keyFound = true;
                    location.value = trimmed(m_bytes, {eq + 1, line.end});
                    const std::size_t length = location.value.end - location.value.begin;
                    if (length >= 2 && isQuote(data[location.value.begin])
                        && data[location.value.end - 1] == data[location.value.begin])
                        location.quote = data[location.value.begin];
                    --missing;
                }
                if (missing == 0)
                    return locations;
            }
        }
        begin = next;
    }
    return locations;
}

std::optional<std::u16string> IniDocument::value(std::u16string_view section, std::u16string_view key) const
{
    const Location location = locate(section, key);
    if (!location.keyFound)
        return std::nullopt;
    return valueAt(location);
}

std::vector<std::optional<std::u16string>>
IniDocument::values(std::u16string_view section, const std::vector<std::u16string_view> &keys) const
{
    std::vector<std::optional<std::u16string>> found;
    for (const Location &location : locate(section, keys)) {
        if (location.keyFound)
            found.emplace_back(valueAt(location));
        else
            found.emplace_back();
    }
    return found;
}

std::u16string IniDocument::valueAt(const Location &location) const
{
    Span span = location.value;
    if (location.quote) {
        ++span.begin;
        --span.end;
    }
    std::u16string text = decode(view(m_bytes, span));
    if (const std::size_t nul = text.find(u'\0'); nul != std::u16string::npos)
        text.resize(nul);
    return text;
}

std::string IniDocument::bytes() const
{
    if (m_utf16 == Utf16::No)
        return m_bytes;
    const std::u16string text = utf8ToUtf16(m_bytes);
    std::string out(2 + 2 * text.size(), '\0');
    const bool little = m_utf16 == Utf16::LittleEndian;
    const auto put = [little, &out](char16_t unit, std::size_t at) {
        out[at + (little ? 0 : 1)] = char(unit & 0xFF);
        out[at + (little ? 1 : 0)] = char(unit >> 8);
    };
    put(0xFEFF, 0);
    for (std::size_t i = 0; i < text.size(); ++i)
        put(text[i], 2 + 2 * i);
    return out + m_utf16Tail;
}

std::string IniDocument::takeBytes() &&
{
    return m_utf16 == Utf16::No ? std::move(m_bytes) : bytes();
}

std::string IniDocument::lineEnding() const
{
    const char *data = m_bytes.data();
    for (std::size_t i = m_bodyStart; i < m_bytes.size(); ++i) {
        if (data[i] == '\n')
            return "\n";
        if (data[i] == '\r')
            return (i + 1 < m_bytes.size() && data[i + 1] == '\n') ? "\r\n" : "\r";
    }
    return "\r\n";
}

bool IniDocument::convertToUnicode()
{
    const auto text = m_legacy->decode(m_bytes, false);
    if (!text)
        return false;
    m_bytes = *utf16ToUtf8(*text); // a decoder gives no lone surrogates
    m_encoding = TextEncoding::Utf8;
    if (m_unicodeForm == UnicodeForm::Utf16LE)
        m_utf16 = Utf16::LittleEndian;
    return true;
}

IniDocument::WriteResult IniDocument::setValue(std::u16string_view section, std::u16string_view key,
                                               std::u16string_view value)
{
    if (section.empty() || hasLineBreakOrNul(section) || section.find(u']') != section.npos
        || endsInBlank(section) || hasLoneSurrogate(section))
        return WriteResult::InvalidName;
    if (key.empty() || hasLineBreakOrNul(key) || key.find(u'=') != key.npos || key.front() == u';'
        || key.front() == u'[' || endsInBlank(key) || hasLoneSurrogate(key))
        return WriteResult::InvalidName;
    if (hasLineBreakOrNul(value) || hasLoneSurrogate(value))
        return WriteResult::InvalidValue;
    if (!m_utf16Convertible) // its lone surrogate has no UTF-8 form to edit it in
        return WriteResult::NotRepresentable;

    auto sectionBytes = encode(section);
    auto keyBytes = encode(key);
    auto valueBytes = encode(value);
    if (!sectionBytes || !keyBytes || !valueBytes) {
        // Only the legacy code page lacks characters. Rather than lose the new text, the file
        // takes the Unicode form, provided every byte of it converts.
        if (!convertToUnicode())
            return WriteResult::NotRepresentable;
        sectionBytes = utf16ToUtf8(section);
        keyBytes = utf16ToUtf8(key);
        valueBytes = utf16ToUtf8(value);
    }

    const Location location = locate(section, key);
    const bool wrappedInQuotes = value.size() >= 2 && value.front() == value.back()
        && (value.front() == u'"' || value.front() == u'\'');
    // Quotes keep blanks at the ends and a quoted text from being taken apart on reading.
    char quote = location.quote;
    if (!quote && (endsInBlank(value) || wrappedInQuotes))
        quote = '"';
    std::string stored = *valueBytes;
    if (quote)
        stored = quote + stored + quote;

    if (location.keyFound) {
        m_bytes.replace(location.value.begin, location.value.end - location.value.begin, stored);
        return WriteResult::Stored;
    }

    const std::string eol = lineEnding();
    const std::string keyLine = *keyBytes + '=' + stored;
    if (location.sectionFound) {
        m_bytes.insert(location.insertAt,
                       location.insertAfterLineWithoutEnding ? eol + keyLine : keyLine + eol);
        return WriteResult::Stored;
    }

    if (m_bytes.size() > m_bodyStart && !m_bytes.ends_with('\n') && !m_bytes.ends_with('\r'))
        m_bytes += eol;
    m_bytes += '[' + *sectionBytes + ']' + eol + keyLine + eol;
    return WriteResult::Stored;
}

} // namespace settings
