// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/wavstream.h"

#include "platform/sound/boundedreader.h"
#include "platform/sound/pcmsound.h"
#include "platform/sound/sndfilelibrary.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// What Windows' player takes: a RIFF WAVE file, or its 64-bit form. libsndfile would also open
// FLAC, Ogg, raw MP3, AIFF and more, which Windows answers with its default sound.
bool isWave(QIODevice &device)
{
    char header[12];
    if (device.read(header, 12) != 12 || !device.seek(0))
        return false;
    return (std::memcmp(header, "RIFF", 4) == 0 || std::memcmp(header, "RF64", 4) == 0)
        && std::memcmp(header + 8, "WAVE", 4) == 0;
}

bool isWaveFormat(int format)
{
    const int major = format & SF_FORMAT_TYPEMASK;
    return major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX || major == SF_FORMAT_RF64;
}

// Full scale is 1.0 either way; the largest positive sample is one step below it.
qint16 toSample(float value)
{
    if (std::isnan(value))
        return 0;
    const long scaled = std::lround(std::clamp(value, -1.0f, 1.0f) * 32768.0f);
    return static_cast<qint16>(std::clamp(scaled, -32768L, 32767L));
}

} // namespace

std::unique_ptr<WavStream> WavStream::open(std::unique_ptr<QIODevice> device)
{
    if (!device || !device->isReadable() || !isWave(*device))
        return nullptr;
    const SndfileLibrary *sf = SndfileLibrary::load();
    if (!sf)
        return nullptr;
    std::unique_ptr<WavStream> stream(new WavStream);
    stream->m_sf = sf;
    stream->m_reader = std::make_unique<BoundedReader>(std::move(device));
    SF_INFO info {};
    stream->m_file = sf->sf_open_virtual(BoundedReader::callbacks(), SFM_READ, &info, stream->m_reader.get());
    if (!stream->m_file || !isWaveFormat(info.format) || info.samplerate < MinSampleRate
        || info.samplerate > MaxSampleRate || info.channels < 1 || info.channels > MaxChannels)
        return nullptr;
    stream->m_sampleRate = info.samplerate;
    stream->m_channels = info.channels;
    stream->m_framesHint = std::max<sf_count_t>(info.frames, 0);
    stream->m_block.resize(BlockFrames * info.channels);
    // A file without one frame that can be read has no sound of its own.
    if (!stream->decodeBlock())
        return nullptr;
    return stream;
}

std::unique_ptr<WavStream> WavStream::open(const QString &path)
{
    if (path.isEmpty())
        return nullptr;
    // Opened without waiting, and kept only when it is a regular file: a FIFO would wait for a
    // writer, a device such as /dev/zero would never end. The check is made on what was opened, so
    // the name cannot be swapped for a FIFO in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    auto file = std::make_unique<QFile>();
    // Unbuffered: every read of the bounded reader is one read of the file.
    if (!file->open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return open(std::move(file));
}

WavStream::~WavStream()
{
    if (m_file)
        m_sf->sf_close(m_file);
}

bool WavStream::decodeBlock()
{
    if (m_ended)
        return false;
    m_taken = 0;
    m_blockFrames = static_cast<qsizetype>(m_sf->sf_readf_float(m_file, m_block.data(), BlockFrames));
    if (m_blockFrames <= 0) {
        m_blockFrames = 0;
        m_ended = true; // the end, a cut or an error: what was read has played
    }
    return m_blockFrames > 0;
}

qsizetype WavStream::read(qint16 *out, qsizetype maxFrames)
{
    qsizetype done = 0;
    while (done < maxFrames && (m_taken < m_blockFrames || decodeBlock())) {
        const qsizetype count = std::min(maxFrames - done, m_blockFrames - m_taken);
        const float *from = m_block.data() + m_taken * m_channels;
        std::transform(from, from + count * m_channels, out + done * m_channels, toSample);
        m_taken += count;
        done += count;
    }
    return done;
}

std::unique_ptr<SoundSource> soundOrChime(const QString &name, const PcmSound &chime)
{
    if (std::unique_ptr<SoundSource> sound = WavStream::open(name))
        return sound;
    return std::make_unique<PcmSource>(chime);
}

} // namespace platform
