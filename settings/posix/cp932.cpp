// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/posix/cp932.h"

#include "settings/textencoding.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace settings::posix {

namespace {

// The single bytes that iconv's CP932 does not decode, and what Windows makes of them.
struct ExtraByte
{
    unsigned char byte;
    char16_t character;
};
constexpr ExtraByte extraBytes[] = {
    {0x80, u'\u0080'}, {0xA0, u'\uF8F0'}, {0xFD, u'\uF8F1'}, {0xFE, u'\uF8F2'}, {0xFF, u'\uF8F3'},
};

std::optional<char16_t> extraCharacter(unsigned char byte)
{
    for (const ExtraByte &extra : extraBytes) {
        if (extra.byte == byte)
            return extra.character;
    }
    return std::nullopt;
}

std::optional<unsigned char> extraByte(char16_t character)
{
    for (const ExtraByte &extra : extraBytes) {
        if (extra.character == character)
            return extra.byte;
    }
    return std::nullopt;
}

// One iconv conversion descriptor, closed when it goes out of scope.
class Iconv final
{
public:
    Iconv(const char *to, const char *from)
        : m_handle(iconv_open(to, from))
    {
        // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open reports failure as (iconv_t)-1
        if (m_handle == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv has no conversion between UTF-8 and CP932");
    }
    ~Iconv() { iconv_close(m_handle); }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;

    // Converts the bytes; in lossy mode each byte that does not convert becomes `replacement`,
    // otherwise the first such byte gives nothing.
    std::optional<std::string> convert(std::string_view input, bool lossy, std::string_view replacement)
    {
        std::string output(input.size() * 2 + 16, '\0');
        char *in = const_cast<char *>(input.data());
        size_t inLeft = input.size();
        size_t written = 0;
        while (inLeft > 0) {
            char *out = output.data() + written;
            size_t outLeft = output.size() - written;
            const size_t rc = iconv(m_handle, &in, &inLeft, &out, &outLeft);
            written = output.size() - outLeft;
            if (rc != size_t(-1))
                break;
            if (errno == E2BIG) {
                output.resize(output.size() * 2);
                continue;
            }
            // EILSEQ or EINVAL: an invalid or incomplete sequence at `in`.
            if (!lossy)
                return std::nullopt;
            output.resize(written);
            output += replacement;
            written = output.size();
            output.resize(written + inLeft * 2 + 16);
            ++in;
            --inLeft;
        }
        output.resize(written);
        return output;
    }

private:
    iconv_t m_handle;
};

} // namespace

bool isCp932LeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::optional<std::u16string> decodeCp932(std::string_view bytes, bool lossy)
{
    // Runs of what iconv reads, cut at the extra single bytes where a character starts there.
    Iconv cd("UTF-8", "CP932");
    std::u16string text;
    std::size_t runStart = 0;
    const auto flush = [&](std::size_t end) {
        if (end == runStart)
            return true;
        const auto utf8 = cd.convert(bytes.substr(runStart, end - runStart), lossy, "\xEF\xBF\xBD");
        if (!utf8)
            return false;
        text += utf8ToUtf16(*utf8);
        return true;
    };
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (isCp932LeadByte(byte)) {
            i += 2;
            continue;
        }
        if (const auto character = extraCharacter(byte)) {
            if (!flush(i))
                return std::nullopt;
            text += *character;
            runStart = i + 1;
        }
        ++i;
    }
    if (!flush(bytes.size()))
        return std::nullopt;
    return text;
}

std::optional<std::string> encodeCp932(std::u16string_view text)
{
    Iconv cd("CP932", "UTF-8");
    std::string bytes;
    std::size_t runStart = 0;
    const auto flush = [&](std::size_t end) {
        if (end == runStart)
            return true;
        const auto utf8 = utf16ToUtf8(text.substr(runStart, end - runStart));
        const auto converted = utf8 ? cd.convert(*utf8, false, {}) : std::nullopt;
        if (!converted)
            return false;
        bytes += *converted;
        return true;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const auto byte = extraByte(text[i])) {
            if (!flush(i))
                return std::nullopt;
            bytes += char(*byte);
            runStart = i + 1;
        }
    }
    if (!flush(text.size()))
        return std::nullopt;
    // Some characters convert to bytes that read back as another, such as the yen sign to the
    // byte of "\": such a text would come back changed, so it has no form here.
    const auto back = decodeCp932(bytes, false);
    if (!back || *back != text)
        return std::nullopt;
    return bytes;
}

} // namespace settings::posix
