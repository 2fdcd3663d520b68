#include "platform/wavdecoder.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {

namespace {

constexpr quint16 FormatPcm = 1;
constexpr quint16 FormatFloat = 3;
constexpr quint16 FormatExtensible = 0xFFFE;
constexpr int MaxChannels = 8;
constexpr quint32 MaxSampleRate = 384000; // the highest rate the sound server accepts

// The tail that every extensible sub-format identifier shares after its two-byte format tag.
constexpr char GuidTail[] = "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71";

struct Format
{
    quint16 tag = 0; // FormatPcm or FormatFloat, the extensible wrapper removed
    int channels = 0;
    quint32 sampleRate = 0;
    int bytesPerSample = 0;
};

quint16 u16(const char *at)
{
    return qFromLittleEndian<quint16>(at);
}

quint32 u32(const char *at)
{
    return qFromLittleEndian<quint32>(at);
}

std::optional<Format> parseFormat(const char *body, qint64 size)
{
    if (size < 16)
        return std::nullopt;
    Format format;
    format.tag = u16(body);
    format.channels = u16(body + 2);
    format.sampleRate = u32(body + 4);
    const quint16 blockAlign = u16(body + 12);
    const quint16 bits = u16(body + 14);

    if (format.tag == FormatExtensible) {
        if (size < 40 || u16(body + 16) < 22 || std::memcmp(body + 26, GuidTail, 14) != 0)
            return std::nullopt;
        format.tag = u16(body + 24);
    }
    const bool pcm = format.tag == FormatPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
    const bool floating = format.tag == FormatFloat && (bits == 32 || bits == 64);
    if (!pcm && !floating)
        return std::nullopt;
    if (format.channels < 1 || format.channels > MaxChannels)
        return std::nullopt;
    if (format.sampleRate < 1 || format.sampleRate > MaxSampleRate)
        return std::nullopt;
    format.bytesPerSample = bits / 8;
    if (blockAlign != format.channels * format.bytesPerSample)
        return std::nullopt;
    return format;
}

qint16 fromFloat(double value)
{
    if (!(value == value)) // NaN
        return 0;
    return static_cast<qint16>(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
}

// One sample to 16 bits: integer samples keep their top 16 bits, 8-bit ones are unsigned.
qint16 decodeSample(const Format &format, const char *at)
{
    if (format.tag == FormatFloat) {
        if (format.bytesPerSample == 4)
            return fromFloat(qFromLittleEndian<float>(at));
        return fromFloat(qFromLittleEndian<double>(at));
    }
    switch (format.bytesPerSample) {
    case 1:
        return static_cast<qint16>((static_cast<quint8>(*at) - 128) * 256);
    case 2:
        return qFromLittleEndian<qint16>(at);
    default: // 24 and 32 bits: the two most significant bytes come last
        return qFromLittleEndian<qint16>(at + format.bytesPerSample - 2);
    }
}

std::optional<PcmSound> decodeData(const Format &format, const char *data, qint64 size,
                                   qsizetype maxDecodedBytes)
{
    const qint64 frameBytes = qint64(format.channels) * format.bytesPerSample;
    const qint64 maxFrames = maxDecodedBytes / (2 * format.channels);
    const qint64 frames = std::min(size / frameBytes, maxFrames);
    if (frames <= 0)
        return std::nullopt;

    PcmSound sound;
    sound.sampleRate = static_cast<int>(format.sampleRate);
    sound.channels = format.channels;
    const qint64 count = frames * format.channels;
    sound.samples.resize(count * 2);
    auto *out = reinterpret_cast<qint16 *>(sound.samples.data());
    for (qint64 i = 0; i < count; ++i)
        out[i] = decodeSample(format, data + i * format.bytesPerSample);
    return sound;
}

} // namespace

std::optional<PcmSound> decodeWav(QByteArrayView file, qsizetype maxDecodedBytes)
{
    const char *bytes = file.data();
    const qint64 size = file.size();
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return std::nullopt;

    // The RIFF size is not trusted: writers that stream often leave it wrong.
    std::optional<Format> format;
    qint64 at = 12;
    while (at + 8 <= size) {
        const char *id = bytes + at;
        const qint64 chunkSize = u32(bytes + at + 4);
        const qint64 body = at + 8;
        const qint64 available = size - body;
        if (std::memcmp(id, "fmt ", 4) == 0) {
            if (chunkSize > available)
                return std::nullopt;
            format = parseFormat(bytes + body, chunkSize);
            if (!format)
                return std::nullopt;
        } else if (std::memcmp(id, "data", 4) == 0) {
            if (!format) // the format must come first
                return std::nullopt;
            return decodeData(*format, bytes + body, std::min(chunkSize, available), maxDecodedBytes);
        }
        at = body + chunkSize + (chunkSize & 1); // chunks are padded to an even size
    }
    return std::nullopt;
}

std::optional<PcmSound> readWavFile(const QString &path)
{
    // Only regular files: reading a pipe or a device could wait for ever or never end.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Mapping reads only the pages that are decoded, which matters for a huge file.
    if (file.size() > 0) {
        if (const uchar *mapped = file.map(0, file.size()))
            return decodeWav(QByteArrayView(mapped, file.size()));
    }
    // Headers and chunks other than data rarely pass a megabyte; the cut keeps a huge file bounded.
    const QByteArray content = file.read(MaxDecodedBytes * 4 + 1024 * 1024);
    return decodeWav(content);
}

const PcmSound &defaultChime()
{
    static const PcmSound chime
        = readWavFile(QStringLiteral(":/platform/sounds/chime.wav")).value_or(PcmSound());
    return chime;
}

PcmSound soundOrChime(const QString &name)
{
    if (std::optional<PcmSound> sound = readWavFile(name))
        return std::move(*sound);
    return defaultChime();
}

} // namespace platform
