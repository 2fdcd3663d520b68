// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/pcmsound.h"

#include <QByteArrayView>

#include <optional>

class QIODevice;
class QString;

namespace platform {

// Decoded sounds are cut at this size, so that a huge file cannot exhaust memory:
// more than six minutes of 48 kHz stereo.
inline constexpr qsizetype MaxDecodedBytes = 64 * 1024 * 1024;

// Decodes a RIFF WAVE file: integer PCM of 8, 16, 24 or 32 bits, or IEEE float of 32 or 64 bits,
// plain or in the extensible format, with 1 to 8 channels, at an audible rate (40 Hz to 384 kHz).
// Anything else, and a file without one whole frame, gives nothing. A data chunk cut short by the
// end of the file plays what is there.
std::optional<PcmSound> decodeWav(QByteArrayView file, qsizetype maxDecodedBytes = MaxDecodedBytes);

// The same, read from the device as it goes. A read that fails or comes back short, however the
// file changed meanwhile, ends the sound at the last whole frame read.
std::optional<PcmSound> decodeWav(QIODevice &file, qsizetype maxDecodedBytes = MaxDecodedBytes);

// Reads and decodes the regular file at path; nothing when it is missing, unreadable or no such WAV.
std::optional<PcmSound> readWavFile(const QString &path);

// The program's own short chime, decoded once.
const PcmSound &defaultChime();

// What a play of name is heard as: the sound it names, or the chime when it names no playable WAV file.
PcmSound soundOrChime(const QString &name);

} // namespace platform
