// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/soundsource.h"

#include <QString>

#include <memory>
#include <vector>

class QIODevice;
struct sf_private_tag;

namespace platform {

class BoundedReader;
struct PcmSound;
struct SndfileLibrary;

// A WAV file decoded by libsndfile as it plays: every encoding that libsndfile reads inside a RIFF
// WAVE or RF64 file (PCM, float, µ-law, A-law, ADPCM, GSM 6.10, MPEG Layer 3...), read as floats
// and clipped at full scale. Only a block is held at a time, however long the file.
class WavStream final : public SoundSource
{
    Q_DISABLE_COPY_MOVE(WavStream)

public:
    // Frames decoded at a time.
    static constexpr qsizetype BlockFrames = 4096;
    // A rate below this carries nothing above 20 Hz, the lowest pitch anyone hears: such a file would
    // play for minutes or hours, and no loudspeaker would make a sound of it.
    static constexpr int MinSampleRate = 40;
    static constexpr int MaxSampleRate = 384000; // the highest rate the sound server accepts
    static constexpr int MaxChannels = 8;

    // The stream of the WAV that the device holds, with its first block decoded; nothing where it is
    // no WAV, libsndfile refuses it or is missing, its rate or channels cannot be played, or not one
    // frame can be read.
    static std::unique_ptr<WavStream> open(std::unique_ptr<QIODevice> device);
    // The same for the regular file at path; nothing for a missing file, a folder, a FIFO or a device.
    static std::unique_ptr<WavStream> open(const QString &path);

    ~WavStream() override;

    int sampleRate() const override { return m_sampleRate; }
    int channels() const override { return m_channels; }
    qint64 framesHint() const override { return m_framesHint; }
    qsizetype read(qint16 *out, qsizetype maxFrames) override;

private:
    WavStream() = default;
    bool decodeBlock();

    const SndfileLibrary *m_sf = nullptr;
    std::unique_ptr<BoundedReader> m_reader;
    sf_private_tag *m_file = nullptr;
    int m_sampleRate = 0;
    int m_channels = 0;
    qint64 m_framesHint = 0;
    std::vector<float> m_block; // decoded, not yet taken
    qsizetype m_blockFrames = 0;
    qsizetype m_taken = 0;
    bool m_ended = false;
};

// What a play of name is heard as: the WAV it names, or the chime where it names no playable WAV.
std::unique_ptr<SoundSource> soundOrChime(const QString &name, const PcmSound &chime);

} // namespace platform
