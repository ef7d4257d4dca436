#!/usr/bin/env python3
"""Writes the reminder chime: two decaying bell strokes, high then low.

    tools/make-chime.py [OUTPUT]    (default: src/reminders/chime.wav)

16-bit mono PCM at 22050 Hz, about one second. The result is committed; run
this again only to change the sound.
"""

import math
import struct
import sys
import wave
from pathlib import Path

RATE = 22050
LENGTH = 1.1  # seconds
VOLUME = 0.45  # of full scale, leaving headroom where the strokes overlap

# A bell's partials relative to its strike tone, with their loudness and how
# fast they die away (per second); the higher ones fade first.
PARTIALS = [(1.0, 1.0, 3.0), (2.0, 0.5, 4.5), (2.76, 0.35, 6.0), (5.4, 0.15, 9.0)]

# (start in seconds, strike frequency in Hz)
STROKES = [(0.0, 880.0), (0.28, 659.25)]


def bell(t, frequency):
    if t < 0:
        return 0.0
    attack = min(1.0, t / 0.004)  # a soft start instead of a click
    return attack * sum(gain * math.exp(-decay * t) * math.sin(2 * math.pi * frequency * ratio * t)
                        for ratio, gain, decay in PARTIALS)


def main():
    output = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "src/reminders/chime.wav"
    peak = sum(gain for _, gain, _ in PARTIALS)
    count = int(RATE * LENGTH)
    frames = bytearray()
    for n in range(count):
        t = n / RATE
        fade = min(1.0, (count - n) / (0.05 * RATE))  # end in silence
        value = sum(bell(t - start, frequency) for start, frequency in STROKES) / peak
        frames += struct.pack("<h", round(32767 * VOLUME * fade * value))
    with wave.open(str(output), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(bytes(frames))


if __name__ == "__main__":
    main()
