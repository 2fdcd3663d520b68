// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/pcmsound.h"

#include <algorithm>

namespace platform {

qsizetype PcmSource::read(qint16 *out, qsizetype maxFrames)
{
    const qsizetype count = std::min(maxFrames, m_sound.frames() - m_frame);
    if (count <= 0)
        return 0;
    const qsizetype sampleCount = count * m_sound.channels;
    const auto *from
        = reinterpret_cast<const qint16 *>(m_sound.samples.constData()) + m_frame * m_sound.channels;
    std::copy(from, from + sampleCount, out);
    m_frame += count;
    return count;
}

} // namespace platform
