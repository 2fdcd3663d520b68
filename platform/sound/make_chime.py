#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes chime.s16, the sound heard when the chosen sound cannot be played.

Two soft bell strokes, a sixth apart, 16-bit PCM mono at 44100 Hz, about 0.9 s.
Its bare samples, without a WAV header, so that the program plays it without a decoder.
Run from this folder; the file is committed, so the build needs no Python.
"""
import math
import struct

RATE = 44100
LENGTH = 0.9  # seconds
PEAK = 0.6  # of full scale: clearly heard, never clipped
ATTACK = 0.004  # a short rise, so the first sample does not click

# (start in seconds, fundamental in Hz, decay time constant in seconds)
STROKES = [(0.0, 880.0, 0.18), (0.22, 659.26, 0.28)]
# A bell's partials: (ratio to the fundamental, relative level)
PARTIALS = [(1.0, 1.0), (2.0, 0.35), (3.01, 0.12)]


def sample(t):
    value = 0.0
    for start, base, decay in STROKES:
        local = t - start
        if local < 0:
            continue
        envelope = math.exp(-local / decay) * min(1.0, local / ATTACK)
        for ratio, level in PARTIALS:
            value += level * envelope * math.sin(2 * math.pi * base * ratio * local)
    return value


def main():
    frames = int(RATE * LENGTH)
    raw = [sample(i / RATE) for i in range(frames)]
    scale = PEAK / max(abs(v) for v in raw)
    # A short fade-out at the very end avoids a click when the last stroke is cut.
    fade = int(RATE * 0.02)
    for i in range(fade):
        raw[frames - 1 - i] *= i / fade
    data = b"".join(struct.pack("<h", round(v * scale * 32767)) for v in raw)
    with open("chime.s16", "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
