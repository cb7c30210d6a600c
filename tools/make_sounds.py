#!/usr/bin/env python3
"""Synthesises Vantrel's three sounds as 44.1 kHz 16-bit mono WAV files.

Usage: make_sounds.py <wavs folder>

Standard library only. The noise uses a fixed seed, so every run writes the
same bytes. Each sound starts and ends at silence through short fades, so
there are no clicks, and is scaled to a fixed peak well below full scale.
"""

import argparse
import math
import os
import random
import struct
import wave

RATE = 44100


def silence(seconds):
    return [0.0] * int(round(seconds * RATE))


def fade(samples, fade_in, fade_out):
    """Raised-cosine fades at both ends, in seconds."""
    n_in = max(1, int(fade_in * RATE))
    n_out = max(1, int(fade_out * RATE))
    n = len(samples)
    for i in range(min(n_in, n)):
        samples[i] *= 0.5 - 0.5 * math.cos(math.pi * i / n_in)
    for i in range(min(n_out, n)):
        samples[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / n_out)
    return samples


def normalise(samples, peak_db):
    peak = max(abs(s) for s in samples)
    gain = 10 ** (peak_db / 20) / peak
    return [s * gain for s in samples]


def add_at(target, source, start_seconds):
    offset = int(round(start_seconds * RATE))
    for i, s in enumerate(source):
        if offset + i < len(target):
            target[offset + i] += s


def card_snap():
    """A card flicked onto felt: a bright noise burst with a fast decay over
    a short, dull body thump."""
    rng = random.Random(1207)
    length = int(0.12 * RATE)
    out = []
    low = 0.0
    previous = 0.0
    band = 0.0
    smooth = 0.0
    for i in range(length):
        t = i / RATE
        noise = rng.uniform(-1.0, 1.0)
        # High-pass (difference) then two gentle low-passes: a papery band
        # around a few kHz rather than harsh hiss.
        high = noise - previous
        previous = noise
        smooth += 0.4 * (high - smooth)
        band += 0.4 * (smooth - band)
        snap = band * math.exp(-t / 0.012)
        # A softer second contact a few milliseconds later, as the card settles.
        settle = band * 0.35 * math.exp(-(t - 0.018) / 0.02) if t > 0.018 else 0.0
        low += 0.02 * (noise - low)
        thump = math.sin(2 * math.pi * 170 * t) * 0.25 * math.exp(-t / 0.02) + low * 0.6 * math.exp(-t / 0.015)
        out.append(snap + settle + thump)
    return fade(normalise(out, -3.0), 0.001, 0.03)


def bell_note(frequency, seconds):
    """A soft bell: a few partials, the higher ones dying away sooner."""
    partials = [(1.0, 1.0, 0.30), (2.0, 0.32, 0.16), (3.0, 0.10, 0.10), (4.16, 0.05, 0.06)]
    out = []
    for i in range(int(seconds * RATE)):
        t = i / RATE
        value = 0.0
        for ratio, amplitude, decay in partials:
            value += amplitude * math.exp(-t / decay) * math.sin(2 * math.pi * frequency * ratio * t)
        out.append(value)
    return fade(out, 0.004, 0.05)


def win_chime():
    """A rising C major arpeggio, ending on the octave."""
    total = silence(0.7)
    notes = [523.25, 659.25, 783.99, 1046.50]
    for index, frequency in enumerate(notes):
        start = index * 0.09
        add_at(total, bell_note(frequency, 0.7 - start), start)
    return fade(normalise(total, -3.0), 0.002, 0.08)


def soft_tone(frequency, seconds):
    """A rounded tone: the fundamental with a little second harmonic."""
    out = []
    for i in range(int(seconds * RATE)):
        t = i / RATE
        out.append(math.sin(2 * math.pi * frequency * t) + 0.18 * math.sin(4 * math.pi * frequency * t))
    return fade(out, 0.015, 0.06)


def warning():
    """Two low tones stepping down a major third: noticeable, never harsh."""
    total = silence(0.35)
    add_at(total, soft_tone(330.0, 0.17), 0.0)
    add_at(total, soft_tone(262.0, 0.19), 0.16)
    return fade(normalise(total, -4.0), 0.005, 0.04)


def write_wav(path, samples):
    frames = b"".join(struct.pack("<h", max(-32767, min(32767, int(round(s * 32767))))) for s in samples)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


def main():
    # argparse answers --help with status 0 and a bad command line with the
    # usage line and status 2, like the other tools.
    parser = argparse.ArgumentParser(description="Synthesises Vantrel's three sounds as WAV files.")
    parser.add_argument("wavs", help="folder for deal.wav, won.wav and wrong2.wav")
    folder = parser.parse_args().wavs
    os.makedirs(folder, exist_ok=True)
    write_wav(os.path.join(folder, "deal.wav"), card_snap())
    write_wav(os.path.join(folder, "won.wav"), win_chime())
    write_wav(os.path.join(folder, "wrong2.wav"), warning())


if __name__ == "__main__":
    main()
