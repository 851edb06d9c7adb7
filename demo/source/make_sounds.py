#!/usr/bin/env python3
"""Makes the demo project's sounds as WAV files (standard library only).

waterfall.wav loops under the lake picture, chirp.wav is the bird that calls
at random moments; music1.wav and music2.wav become the two music tracks once
converted to Ogg Vorbis with oggenc (vorbis-tools):
    python3 make_sounds.py OUTDIR && for f in OUTDIR/music*.wav; do oggenc -Q -q 0 "$f"; done
"""
import math
import os
import random
import struct
import sys
import wave


def write(path, rate, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", max(-32767, min(32767, int(s * 32767)))) for s in samples))


def waterfall(rate=11025, seconds=2.0):
    """Low-passed noise; the end fades into the start, so it loops without a click."""
    rnd = random.Random(7)
    n = int(rate * seconds)
    fade = rate // 4
    raw, a, b = [], 0.0, 0.0
    for _ in range(n + fade):
        a += 0.35 * (rnd.uniform(-1, 1) - a)
        b += 0.5 * (a - b)
        raw.append(b)
    out = raw[:n]
    for i in range(fade):
        t = i / fade
        out[i] = raw[n + i] * (1 - t) + raw[i] * t
    peak = max(abs(s) for s in out)
    return [0.5 * s / peak for s in out]


def chirp(rate=22050):
    """Three short rising whistles."""
    out = []
    for k, (f0, f1, length) in enumerate([(2600, 4200, 0.09), (2800, 4600, 0.08), (3000, 5200, 0.12)]):
        n, phase = int(rate * length), 0.0
        for i in range(n):
            t = i / n
            phase += 2 * math.pi * (f0 + (f1 - f0) * t * t) / rate
            out.append(0.4 * math.sin(phase) * math.sin(math.pi * t))
        out.extend([0.0] * int(rate * 0.05))
    return out


def tune(notes, rate=22050, beat=0.375):
    """Soft plucked tones, one note per beat (MIDI numbers; None rests)."""
    out = []
    for note in notes:
        n = int(rate * beat)
        if note is None:
            out.extend([0.0] * n)
            continue
        f = 440.0 * 2 ** ((note - 69) / 12)
        for i in range(n):
            t = i / rate
            env = min(1.0, t * 200) * math.exp(-4 * t)
            out.append(0.3 * env * (math.sin(2 * math.pi * f * t) + 0.3 * math.sin(4 * math.pi * f * t)))
    return out


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    write(os.path.join(out, "waterfall.wav"), 11025, waterfall())
    write(os.path.join(out, "chirp.wav"), 22050, chirp())
    write(os.path.join(out, "music1.wav"), 22050, tune([60, 64, 67, 72, 67, 64, 60, None, 62, 65, 69, 74, 69, 65, 62, None]))
    write(os.path.join(out, "music2.wav"), 22050, tune([57, 60, 64, 69, 64, 60, 57, None, 55, 59, 62, 67, 62, 59, 55, None]))


if __name__ == "__main__":
    main()
