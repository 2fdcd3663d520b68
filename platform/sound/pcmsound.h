// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace platform {

// A sound decoded ahead of playing: interleaved 16-bit samples in the machine's byte order,
// so that starting it costs no decoding.
struct PcmSound
{
    int sampleRate = 0;
    int channels = 0;
    QByteArray samples;

    qsizetype frames() const { return channels > 0 ? samples.size() / (2 * channels) : 0; }
};

} // namespace platform
