// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace platform {

// A sound as the player takes it: interleaved 16-bit samples in the machine's byte order, decoded
// block by block as it plays.
class SoundSource
{
public:
    virtual ~SoundSource() = default;

    virtual int sampleRate() const = 0;
    virtual int channels() const = 0;
    // How many frames the sound says it holds: a guess for sizing buffers, not a promise.
    virtual qint64 framesHint() const = 0;

    // Decodes up to maxFrames frames into out; returns how many came, 0 once the sound has ended.
    virtual qsizetype read(qint16 *out, qsizetype maxFrames) = 0;
};

} // namespace platform
