// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/chime.h"

#include <QFile>
#include <QtEndian>

namespace platform {

PcmSound loadChime()
{
    // 16-bit little-endian mono samples at 44100 Hz, without a header (made by make_chime.py).
    QFile file(QStringLiteral(":/sound/chime.s16"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    PcmSound chime {44100, 1, file.readAll()};
    chime.samples.truncate(chime.samples.size() & ~qsizetype(1));
    if constexpr (Q_BYTE_ORDER == Q_BIG_ENDIAN) {
        auto *sample = reinterpret_cast<qint16 *>(chime.samples.data());
        for (qsizetype i = 0; i < chime.samples.size() / 2; ++i)
            sample[i] = qFromLittleEndian(sample[i]);
    }
    return chime;
}

} // namespace platform
