#!/usr/bin/env python3
"""Writes the built-in alarm sound, alarm.wav: one second of four quick beeps and a pause,
22,050 Hz, 16-bit mono, made to be played in a loop."""
import math
import struct
import sys

RATE = 22050
PITCH = 2000.0  # Hz: cuts through sleep without being shrill at a low volume
BEEP = 0.08     # seconds of each beep
GAP = 0.06      # seconds between the beeps
BEEPS = 4
LENGTH = 1.0    # seconds of the whole loop
FADE = 0.004    # seconds of fade at each end of a beep, so it does not click


def samples():
    out = []
    for i in range(int(RATE * LENGTH)):
        t = i / RATE
        beep, into = divmod(t, BEEP + GAP)
        if beep >= BEEPS or into >= BEEP:
            out.append(0)
            continue
        envelope = min(1.0, into / FADE, (BEEP - into) / FADE)
        out.append(int(0.6 * 32767 * envelope * math.sin(2 * math.pi * PITCH * t)))
    return out


def main(path):
    pcm = samples()
    data = struct.pack('<%dh' % len(pcm), *pcm)
    header = struct.pack('<4sI4s4sIHHIIHH4sI', b'RIFF', 36 + len(data), b'WAVE', b'fmt ', 16, 1, 1, RATE,
                         RATE * 2, 2, 16, b'data', len(data))
    with open(path, 'wb') as f:
        f.write(header + data)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'alarm.wav')
