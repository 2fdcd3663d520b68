// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/soundplayer.h"

#include <QtGlobal>

#include <memory>

namespace platform {

// The program's sound through the PulseAudio server. A file is opened, and its first block decoded,
// by a thread of the player's own, then decoded block by block as the server asks for more, so
// play() and stop() never wait for a file or the server, and a long file costs no more memory
// than a short one. The sound library is loaded and the server connected at the first
// play, and the server again at the next play after it went away; while none is reachable, nothing is heard.
class PulseSoundPlayer final : public SoundPlayer
{
    Q_DISABLE_COPY_MOVE(PulseSoundPlayer)

public:
    PulseSoundPlayer();
    ~PulseSoundPlayer() override;

    void play(const QString &name) override;
    void stop() override;

private:
    class Private;
    std::unique_ptr<Private> d; // made with the first sound
};

} // namespace platform
