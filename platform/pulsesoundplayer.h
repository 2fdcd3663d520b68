#pragma once

#include "platform/soundplayer.h"

namespace platform {

// Placeholder until the PulseAudio player lands: plays nothing.
class PulseSoundPlayer final : public SoundPlayer
{
public:
    void play(const QString &) override { }
    void stop() override { }
};

} // namespace platform
