// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/wavdecoder.h"

#include <QBuffer>
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
// A rate below this carries nothing above 20 Hz, the lowest pitch anyone hears: such a file would
// play for minutes or hours, and no loudspeaker would make a sound of it.
constexpr quint32 MinSampleRate = 40;
constexpr int FormatFieldsBytes = 40; // the longest format chunk that is read: the extensible one
constexpr int MaxChunks = 4096; // chunks walked before the data: far more than any writer puts
constexpr qint64 BlockBytes = 256 * 1024; // read and decoded at a time

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
    if (format.sampleRate < MinSampleRate || format.sampleRate > MaxSampleRate)
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

// Decodes the data chunk block by block as it is read, so that only the decoded sound is held.
std::optional<PcmSound> decodeData(const Format &format, QIODevice &file, qint64 size,
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
    sound.samples.resize(frames * format.channels * 2);
    auto *out = reinterpret_cast<qint16 *>(sound.samples.data());
    const qint64 blockFrames = std::max<qint64>(1, BlockBytes / frameBytes);
    QByteArray block(blockFrames * frameBytes, Qt::Uninitialized);
    qint64 decoded = 0;
    while (decoded < frames) {
        const qint64 wanted = std::min(blockFrames, frames - decoded) * frameBytes;
        const qint64 got = file.read(block.data(), wanted);
        const qint64 whole = std::max<qint64>(got, 0) / frameBytes;
        const qint64 count = whole * format.channels;
        for (qint64 i = 0; i < count; ++i)
            *out++ = decodeSample(format, block.constData() + i * format.bytesPerSample);
        decoded += whole;
        if (got != wanted) // cut short or unreadable: what was read plays
            break;
    }
    if (decoded == 0)
        return std::nullopt;
    sound.samples.truncate(decoded * format.channels * 2);
    return sound;
}

} // namespace

std::optional<PcmSound> decodeWav(QIODevice &file, qsizetype maxDecodedBytes)
{
    char header[12];
    if (file.read(header, 12) != 12 || std::memcmp(header, "RIFF", 4) != 0
        || std::memcmp(header + 8, "WAVE", 4) != 0)
        return std::nullopt;

    // The RIFF size is not trusted: writers that stream often leave it wrong. The size of the
    // file may change under the decoder: a short read ends the sound where it ends.
    const qint64 size = file.size();
    std::optional<Format> format;
    qint64 at = 12;
    for (int chunks = 0; chunks < MaxChunks && at + 8 <= size; ++chunks) {
        char chunk[8];
        if (!file.seek(at) || file.read(chunk, 8) != 8)
            return std::nullopt;
        const qint64 chunkSize = u32(chunk + 4);
        const qint64 body = at + 8;
        const qint64 available = size - body;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (chunkSize > available)
                return std::nullopt;
            char fields[FormatFieldsBytes];
            const qint64 wanted = std::min<qint64>(chunkSize, FormatFieldsBytes);
            if (file.read(fields, wanted) != wanted)
                return std::nullopt;
            format = parseFormat(fields, chunkSize);
            if (!format)
                return std::nullopt;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format) // the format must come first
                return std::nullopt;
            return decodeData(*format, file, std::min(chunkSize, available), maxDecodedBytes);
        }
        at = body + chunkSize + (chunkSize & 1); // chunks are padded to an even size
    }
    return std::nullopt;
}

std::optional<PcmSound> decodeWav(QByteArrayView file, qsizetype maxDecodedBytes)
{
    QByteArray bytes = QByteArray::fromRawData(file.data(), file.size());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return decodeWav(buffer, maxDecodedBytes);
}

std::optional<PcmSound> readWavFile(const QString &path)
{
    // Only regular files: reading a pipe or a device could wait for ever or never end.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    // Read, never mapped: a page of a mapped file that cannot be read (the file cut short by
    // another program, an I/O error, a full tmpfs) would kill the whole program, where a read
    // just fails and the sound ends there.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    return decodeWav(file);
}

const PcmSound &defaultChime()
{
    static const PcmSound chime = readWavFile(QStringLiteral(":/sound/chime.wav")).value_or(PcmSound());
    return chime;
}

PcmSound soundOrChime(const QString &name)
{
    if (std::optional<PcmSound> sound = readWavFile(name))
        return std::move(*sound);
    return defaultChime();
}

} // namespace platform
