#!/usr/bin/env python3
"""Writes the bitmap and sound resources of the painting library.

DITHER is the 8x8 24-bit checkerboard behind the checked-button pattern;
BUTTON_CLICK is the short click the toolbar plays. Both are generated so the
repository carries no binary of unknown origin; rerun after changing them.
"""
import math
import os
import struct
import wave

HERE = os.path.dirname(os.path.abspath(__file__))


def write_dither(path):
    size = 8
    row_bytes = size * 3  # 24 bytes: already a multiple of four
    pixels = bytearray()
    for y in range(size - 1, -1, -1):  # bottom-up rows
        for x in range(size):
            value = 255 if (x + y) % 2 == 0 else 0
            pixels += bytes((value, value, value))
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, row_bytes * size,
                              2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(file_header + info_header + pixels)


def write_click(path):
    rate = 22050
    length = int(rate * 0.025)  # 25 ms
    frames = bytearray()
    for i in range(length):
        t = i / rate
        envelope = math.exp(-t * 220.0)
        sample = envelope * (0.6 * math.sin(2 * math.pi * 2200 * t) +
                             0.4 * math.sin(2 * math.pi * 3700 * t))
        frames += struct.pack("<h", int(max(-1.0, min(1.0, sample)) * 20000))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


if __name__ == "__main__":
    write_dither(os.path.join(HERE, "bitmaps", "DITHER.bmp"))
    write_click(os.path.join(HERE, "sounds", "BUTTON_CLICK.wav"))
