// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profile/textcodec.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <stdexcept>

namespace platform {

namespace {

// One iconv conversion descriptor, closed when it goes out of scope.
class IconvHandle final
{
public:
    IconvHandle(const char *to, const char *from)
        : m_handle(iconv_open(to, from))
    { }
    ~IconvHandle()
    {
        if (isValid())
            iconv_close(m_handle);
    }
    Q_DISABLE_COPY_MOVE(IconvHandle)

    // iconv_open reports failure as (iconv_t)-1.
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    bool isValid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_handle; }

private:
    iconv_t m_handle;
};

// Converts with iconv. In lossy mode each byte that does not convert becomes `replacement`;
// otherwise the first such byte ends the conversion with nothing.
std::optional<QByteArray> convert(QByteArrayView input, const char *to, const char *from, bool lossy,
                                  QByteArrayView replacement)
{
    const IconvHandle cd(to, from);
    if (!cd.isValid())
        throw std::runtime_error("iconv has no conversion between UTF-8 and CP932");

    QByteArray output;
    output.resize(input.size() * 2 + 16);
    char *in = const_cast<char *>(input.data());
    size_t inLeft = size_t(input.size());
    qsizetype written = 0;
    while (inLeft > 0) {
        char *out = output.data() + written;
        size_t outLeft = size_t(output.size() - written);
        const size_t rc = iconv(cd.get(), &in, &inLeft, &out, &outLeft);
        written = output.size() - qsizetype(outLeft);
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
        output.append(replacement);
        written = output.size();
        output.resize(written + qsizetype(inLeft) * 2 + 16);
        ++in;
        --inLeft;
    }
    output.resize(written);
    return output;
}

const QByteArrayView utf8Replacement("\xEF\xBF\xBD");

} // namespace

bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        // Most of a settings file is ASCII: skip it eight bytes at a time.
        while (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, sizeof word);
            if (word & 0x8080808080808080ULL)
                break;
            p += 8;
        }
        if (p == end)
            break;
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
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
            return false;
        }
        if (end - p <= extra)
            return false;
        if (p[1] < min2 || p[1] > max2)
            return false;
        for (int i = 2; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
        }
        p += extra + 1;
    }
    return true;
}

TextEncoding detectEncoding(QByteArrayView bytes)
{
    return isValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

std::optional<QString> decodeStrict(QByteArrayView bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8) {
        if (!isValidUtf8(bytes))
            return std::nullopt;
        return QString::fromUtf8(bytes);
    }
    const auto utf8 = convert(bytes, "UTF-8", "CP932", false, {});
    if (!utf8)
        return std::nullopt;
    return QString::fromUtf8(*utf8);
}

QString decodeLossy(QByteArrayView bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return QString::fromUtf8(bytes); // invalid sequences become U+FFFD
    // Plain ASCII reads the same in CP932; most names and values are ASCII.
    bool ascii = true;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(bytes);
    return QString::fromUtf8(*convert(bytes, "UTF-8", "CP932", true, utf8Replacement));
}

std::optional<QByteArray> encode(QStringView text, TextEncoding encoding)
{
    const QByteArray utf8 = text.toUtf8();
    if (encoding == TextEncoding::Utf8) {
        if (!isValidUtf8(utf8))
            return std::nullopt; // a lone surrogate in the text
        return utf8;
    }
    auto bytes = convert(utf8, "CP932", "UTF-8", false, {});
    if (!bytes)
        return std::nullopt;
    // CP932 gives the yen sign and the overline the bytes of "\" and "~"; such a text would come
    // back changed, so it counts as not representable.
    const auto back = decodeStrict(*bytes, TextEncoding::Cp932);
    if (!back || *back != text)
        return std::nullopt;
    return bytes;
}

} // namespace platform
