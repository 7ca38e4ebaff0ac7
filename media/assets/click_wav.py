"""Writes the move click: a RIFF WAVE file of 2,740 bytes.

Layout: RIFF header, a 16-byte PCM "fmt " chunk (mono, 44,100 Hz, 16-bit),
a "data" chunk of 1,312 samples, then a "LIST"/"INFO" chunk of 64 bytes with
three text entries. The player reads only "fmt " and "data".

Usage: python3 click_wav.py OUTPUT.wav
"""
import math
import random
import struct
import sys

RATE = 44100
FRAMES = 1312
PEAK = 24500          # about three quarters of full scale
INFO_ENTRIES = [      # RIFF INFO tags: authoring software, engineer, creation date
    (b"ISFT", b"click_wav.py"),
    (b"IENG", b"Corvenna"),
    (b"ICRD", b"2024-06-01"),
]
LIST_SIZE = 64


def click_samples():
    """A bright tone burst with a noisy edge whose envelope stays high.

    Two partials and some noise give a hard 'tick'; the envelope falls only from
    1.0 to about 0.9 so the click is loud for its whole 29.75 ms, with a few
    samples of attack and release so it starts and ends without a pop."""
    rng = random.Random(20240601)
    raw = []
    for n in range(FRAMES):
        t = n / RATE
        tone = 0.55 * math.sin(2 * math.pi * 1850 * t) + 0.25 * math.sin(2 * math.pi * 3720 * t + 0.7)
        noise = 0.20 * (rng.random() * 2 - 1)
        raw.append(tone + noise)
    shaped = []
    for n, v in enumerate(raw):
        envelope = 1.0 - 0.12 * n / (FRAMES - 1)
        envelope *= min(1.0, (n + 1) / 12, (FRAMES - n) / 12)
        shaped.append(envelope * v)
    biggest = max(abs(v) for v in shaped)
    return [round(PEAK * v / biggest) for v in shaped]


def sub_chunk(tag, text):
    """One INFO entry: NUL-terminated text, padded to an even size."""
    body = text + b"\0"
    pad = b"\0" * (len(body) % 2)
    return tag + struct.pack("<I", len(body)) + body + pad


def list_chunk():
    body = b"INFO" + b"".join(sub_chunk(tag, text) for tag, text in INFO_ENTRIES)
    assert len(body) == LIST_SIZE, len(body)
    return b"LIST" + struct.pack("<I", len(body)) + body


def wave_file(samples):
    fmt = struct.pack("<4sIHHIIHH", b"fmt ", 16, 1, 1, RATE, RATE * 2, 2, 16)
    data = b"data" + struct.pack("<I", 2 * len(samples)) + struct.pack("<%dh" % len(samples), *samples)
    body = b"WAVE" + fmt + data + list_chunk()
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    blob = wave_file(click_samples())
    assert len(blob) == 2740, len(blob)
    with open(sys.argv[1], "wb") as out:
        out.write(blob)


if __name__ == "__main__":
    main()
