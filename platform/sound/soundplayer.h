// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QString;

namespace platform {

// The program's sound: one sound at a time, started without waiting.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;

    // Starts the sound that name names, once, from its first sample, and returns at once.
    // A sound of the program that still plays is replaced. The name is taken as it stands;
    // an empty name, or one that names no playable sound, plays the program's default chime.
    virtual void play(const QString &name) = 0;

    // Stops the program's sound, if any plays.
    virtual void stop() = 0;
};

} // namespace platform
