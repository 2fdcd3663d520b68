// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/soundsource.h"

#include <QByteArray>

namespace platform {

// A short sound held whole in memory: interleaved 16-bit samples in the machine's byte order.
struct PcmSound
{
    int sampleRate = 0;
    int channels = 0;
    QByteArray samples;

    qsizetype frames() const { return channels > 0 ? samples.size() / (2 * channels) : 0; }
};

// Plays a sound held in memory from its start; the samples are shared, not copied.
class PcmSource final : public SoundSource
{
public:
    explicit PcmSource(PcmSound sound)
        : m_sound(std::move(sound))
    { }

    int sampleRate() const override { return m_sound.sampleRate; }
    int channels() const override { return m_sound.channels; }
    qint64 framesHint() const override { return m_sound.frames(); }
    qsizetype read(qint16 *out, qsizetype maxFrames) override;

private:
    PcmSound m_sound;
    qsizetype m_frame = 0;
};

} // namespace platform
