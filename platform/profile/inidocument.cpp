// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profile/inidocument.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

const QByteArrayView byteOrderMark("\xEF\xBB\xBF");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isQuote(char c)
{
    return c == '"' || c == '\'';
}

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

char16_t foldAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c;
}

bool isAscii(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

bool hasLoneSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return true;
    }
    return false;
}

bool hasLineBreakOrNul(QStringView text)
{
    return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(0));
}

bool endsInBlank(QStringView text)
{
    return !text.isEmpty()
        && (text.front() == u' ' || text.front() == u'\t' || text.back() == u' ' || text.back() == u'\t');
}

// A name wanted by the caller, compared with names in the file without regard to ASCII case.
class WantedName final
{
public:
    WantedName(QStringView name, TextEncoding encoding)
        : m_name(name)
        , m_ascii(isAscii(name))
        , m_encoding(encoding)
    { }
    Q_DISABLE_COPY_MOVE(WantedName)

    bool matches(QByteArrayView candidate) const
    {
        if (m_ascii) {
            // Any byte from 0x80 up starts or continues a non-ASCII character in UTF-8 and CP932
            // alike, so an ASCII name compares byte for byte.
            if (candidate.size() != m_name.size())
                return false;
            for (qsizetype i = 0; i < candidate.size(); ++i) {
                if (foldAscii(candidate[i]) != foldAscii(char(m_name[i].unicode())))
                    return false;
            }
            return true;
        }
        const QString decoded = decodeLossy(candidate, m_encoding);
        if (decoded.size() != m_name.size())
            return false;
        for (qsizetype i = 0; i < decoded.size(); ++i) {
            if (foldAscii(decoded[i].unicode()) != foldAscii(m_name[i].unicode()))
                return false;
        }
        return true;
    }

private:
    QStringView m_name;
    bool m_ascii;
    TextEncoding m_encoding;
};

struct Span
{
    qsizetype begin = 0;
    qsizetype end = 0;
};

Span trimmed(const QByteArray &bytes, Span span)
{
    while (span.begin < span.end && isBlank(bytes[span.begin]))
        ++span.begin;
    while (span.end > span.begin && isBlank(bytes[span.end - 1]))
        --span.end;
    return span;
}

QByteArrayView view(const QByteArray &bytes, Span span)
{
    return QByteArrayView(bytes.constData() + span.begin, span.end - span.begin);
}

} // namespace

struct IniDocument::Location
{
    bool sectionFound = false;
    bool keyFound = false;
    // Where a new key of the section goes: after its last key, or after its header.
    qsizetype insertAt = 0;
    bool insertAfterLineWithoutEnding = false;
    // The key's value as stored, quotes included, and the quote character if it has one.
    Span value;
    char quote = 0;
};

IniDocument::IniDocument(QByteArray bytes)
    : m_bytes(std::move(bytes))
{
    if (m_bytes.startsWith("\xFF\xFE") || m_bytes.startsWith("\xFE\xFF")) {
        // A file saved as "Unicode" (or its big-endian form) on Windows: its text is edited as
        // UTF-8 and goes back to UTF-16 whole, so that every code unit not edited stays.
        m_utf16 = m_bytes.startsWith("\xFF\xFE") ? Utf16::LittleEndian : Utf16::BigEndian;
        const qsizetype units = (m_bytes.size() - 2) / 2;
        QString text(units, Qt::Uninitialized);
        const char *data = m_bytes.constData() + 2;
        for (qsizetype i = 0; i < units; ++i) {
            text[i] = QChar(m_utf16 == Utf16::LittleEndian ? qFromLittleEndian<quint16>(data + 2 * i)
                                                           : qFromBigEndian<quint16>(data + 2 * i));
        }
        m_utf16Tail = m_bytes.mid(2 + 2 * units);
        m_utf16Convertible = !hasLoneSurrogate(text);
        m_bytes = text.toUtf8();
        m_encoding = TextEncoding::Utf8;
    } else if (m_bytes.startsWith(byteOrderMark)) {
        // The mark says UTF-8 whatever follows; bytes that are not read as U+FFFD and stay.
        m_bodyStart = byteOrderMark.size();
        m_encoding = TextEncoding::Utf8;
    } else {
        m_encoding = detectEncoding(m_bytes);
    }
}

IniDocument::Location IniDocument::locate(QStringView section, QStringView key) const
{
    Location location;
    const WantedName wantedSection(section, m_encoding);
    const WantedName wantedKey(key, m_encoding);
    const char *data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    bool inSection = false;

    qsizetype begin = m_bodyStart;
    while (begin < size) {
        qsizetype end = begin;
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        qsizetype next = end;
        if (next < size)
            next += (data[next] == '\r' && next + 1 < size && data[next + 1] == '\n') ? 2 : 1;

        const Span line = trimmed(m_bytes, {begin, end});
        if (line.begin < line.end && data[line.begin] == '[') {
            if (inSection)
                break; // the first section of the name ends here
            // "]" can be the second byte of a CP932 character, so walk the line by characters.
            qsizetype close = line.begin + 1;
            while (close < line.end && data[close] != ']')
                close += charLength(static_cast<unsigned char>(data[close]), m_encoding);
            close = std::min(close, line.end);
            if (wantedSection.matches(view(m_bytes, trimmed(m_bytes, {line.begin + 1, close})))) {
                inSection = true;
                location.sectionFound = true;
                location.insertAt = next;
                location.insertAfterLineWithoutEnding = next == end;
            }
        } else if (inSection && line.begin < line.end && data[line.begin] != ';') {
            const auto *equals
                = static_cast<const char *>(memchr(data + line.begin, '=', size_t(line.end - line.begin)));
            if (equals) {
                const qsizetype eq = equals - data;
                location.insertAt = next;
                location.insertAfterLineWithoutEnding = next == end;
                if (wantedKey.matches(view(m_bytes, trimmed(m_bytes, {line.begin, eq})))) {
                    location.keyFound = true;
                    location.value = trimmed(m_bytes, {eq + 1, line.end});
                    const qsizetype length = location.value.end - location.value.begin;
                    if (length >= 2 && isQuote(data[location.value.begin])
                        && data[location.value.end - 1] == data[location.value.begin])
                        location.quote = data[location.value.begin];
                    return location;
                }
            }
        }
        begin = next;
    }
    return location;
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const
{
    const Location location = locate(section, key);
    if (!location.keyFound)
        return std::nullopt;
    Span span = location.value;
    if (location.quote) {
        ++span.begin;
        --span.end;
    }
    QString text = decodeLossy(view(m_bytes, span), m_encoding);
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

QByteArray IniDocument::bytes() const
{
    if (m_utf16 == Utf16::No)
        return m_bytes;
    const QString text = QString::fromUtf8(m_bytes);
    QByteArray out(2 + 2 * text.size(), Qt::Uninitialized);
    char *at = out.data();
    const bool little = m_utf16 == Utf16::LittleEndian;
    const auto put = [little](quint16 unit, char *where) {
        if (little)
            qToLittleEndian(unit, where);
        else
            qToBigEndian(unit, where);
    };
    put(0xFEFF, at);
    for (qsizetype i = 0; i < text.size(); ++i)
        put(text[i].unicode(), at + 2 + 2 * i);
    return out + m_utf16Tail;
}

QByteArray IniDocument::lineEnding() const
{
    const char *data = m_bytes.constData();
    for (qsizetype i = m_bodyStart; i < m_bytes.size(); ++i) {
        if (data[i] == '\n')
            return QByteArrayLiteral("\n");
        if (data[i] == '\r')
            return (i + 1 < m_bytes.size() && data[i + 1] == '\n') ? QByteArrayLiteral("\r\n")
                                                                   : QByteArrayLiteral("\r");
    }
    return QByteArrayLiteral("\r\n");
}

IniDocument::WriteResult IniDocument::setValue(QStringView section, QStringView key, QStringView value)
{
    if (section.isEmpty() || hasLineBreakOrNul(section) || section.contains(u']') || endsInBlank(section)
        || hasLoneSurrogate(section))
        return WriteResult::InvalidName;
    if (key.isEmpty() || hasLineBreakOrNul(key) || key.contains(u'=') || key.front() == u';'
        || key.front() == u'[' || endsInBlank(key) || hasLoneSurrogate(key))
        return WriteResult::InvalidName;
    if (hasLineBreakOrNul(value) || hasLoneSurrogate(value))
        return WriteResult::InvalidValue;
    if (!m_utf16Convertible) // its lone surrogate has no UTF-8 form to edit it in
        return WriteResult::NotRepresentable;

    auto sectionBytes = encode(section, m_encoding);
    auto keyBytes = encode(key, m_encoding);
    auto valueBytes = encode(value, m_encoding);
    if (!sectionBytes || !keyBytes || !valueBytes) {
        // Only CP932 lacks characters. Rather than lose the new text, the file becomes UTF-8,
        // provided every byte of it converts.
        const auto text = decodeStrict(m_bytes, TextEncoding::Cp932);
        if (!text)
            return WriteResult::NotRepresentable;
        m_bytes = text->toUtf8();
        m_encoding = TextEncoding::Utf8;
        sectionBytes = section.toUtf8();
        keyBytes = key.toUtf8();
        valueBytes = value.toUtf8();
    }

    const Location location = locate(section, key);
    const bool wrappedInQuotes = value.size() >= 2 && value.front() == value.back()
        && (value.front() == u'"' || value.front() == u'\'');
    // Quotes keep blanks at the ends and a quoted text from being taken apart on reading.
    char quote = location.quote;
    if (!quote && (endsInBlank(value) || wrappedInQuotes))
        quote = '"';
    QByteArray stored = *valueBytes;
    if (quote) {
        stored.prepend(quote);
        stored.append(quote);
    }

    if (location.keyFound) {
        m_bytes.replace(location.value.begin, location.value.end - location.value.begin, stored);
        return WriteResult::Stored;
    }

    const QByteArray eol = lineEnding();
    const QByteArray keyLine = *keyBytes + '=' + stored;
    if (location.sectionFound) {
        if (location.insertAfterLineWithoutEnding)
            m_bytes.insert(location.insertAt, eol + keyLine);
        else
            m_bytes.insert(location.insertAt, keyLine + eol);
        return WriteResult::Stored;
    }

    if (m_bytes.size() > m_bodyStart && !m_bytes.endsWith('\n') && !m_bytes.endsWith('\r'))
        m_bytes.append(eol);
    m_bytes.append('[' + *sectionBytes + ']' + eol + keyLine + eol);
    return WriteResult::Stored;
}

} // namespace platform
