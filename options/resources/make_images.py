#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the options window's two button pictures in the 16-colour look:
openfile.png, a 16 x 16 open yellow folder on light grey, and play.png, a 24 x 22 loudspeaker
with sound waves inside a raised edge. Both are 4-bit palette PNGs with the standard 16 colours,
and the same pictures as 4-bit bitmaps (openfile.bmp, play.bmp) for the Win32 program's resources.

Run from this folder; the images are committed, so the build needs no Python.
"""
import struct
import zlib

# The standard 16-colour palette, in its usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# One letter per palette entry used below.
INK = {'k': 0, 'o': 3, '.': 7, 'g': 8, 'y': 11, 'w': 15}

FOLDER = [
    "................",
    "................",
    "................",
    ".kkkk...........",
    "kwyywk..........",
    "kyyyyykkkkkk....",
    "kyyyyyyyyyyok...",
    "kyyykkkkkkkkkkkk",
    "kyykwyyyyyyyyyok",
    "kyykyyyyyyyyyok.",
    "kykwyyyyyyyyyok.",
    "kykyyyyyyyyyok..",
    "kkwyyyyyyyyyok..",
    "kkyyyyyyyyyok...",
    "kkkkkkkkkkkk....",
    "................",
]

# The loudspeaker, drawn inside the raised edge that play() puts around it.
SPEAKER = [
    "....................",
    "...............k....",
    "................k...",
    ".........k.......k..",
    "........kk...k....k.",
    ".......kwk....k...k.",
    "..kkkkkwgk.k...k..k.",
    "..kggkwggk..k..k..k.",
    "..kggkgggk..k..k..k.",
    "..kggkgggk..k..k..k.",
    "..kggkgggk..k..k..k.",
    "..kkkkkggk.k...k..k.",
    ".......kgk....k...k.",
    "........kk...k....k.",
    ".........k.......k..",
    "................k...",
    "...............k....",
    "....................",
]


def raised(inner):
    """Puts a two-pixel raised edge around inner: white and light grey above and to the left,
    grey and black below and to the right, as a pressed-out button is drawn."""
    width = len(inner[0]) + 4
    rows = ["w" * (width - 1) + "k", "w" + "." * (width - 3) + "gk"]
    rows += ["w." + row + "gk" for row in inner]
    rows += ["w" + "g" * (width - 2) + "k", "k" * width]
    return rows


def write_png(path, rows):
    width, height = len(rows[0]), len(rows)
    assert all(len(row) == width for row in rows), path
    raw = b""
    for row in rows:
        indexes = [INK[c] for c in row] + [0]  # pad to whole bytes
        raw += b"\0" + bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, width, 2))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", width, height, 4, 3, 0, 0, 0)  # 4 bits, palette
    palette = b"".join(bytes(colour) for colour in PALETTE)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"PLTE", palette)
                  + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_bmp(path, rows):
    width, height = len(rows[0]), len(rows)
    stride = (width + 7) // 8 * 4  # 4 bits a pixel, rows padded to 4 bytes
    pixels = b""
    for row in reversed(rows):  # a bitmap's rows run bottom-up
        indexes = [INK[c] for c in row] + [0]
        line = bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, width, 2))
        pixels += line + b"\0" * (stride - len(line))
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 3780, 3780, 16, 0)
    offset = 14 + len(info) + len(palette)
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + palette + pixels)


if __name__ == "__main__":
    write_png("openfile.png", FOLDER)
    write_png("play.png", raised(SPEAKER))
    write_bmp("openfile.bmp", FOLDER)
    write_bmp("play.bmp", raised(SPEAKER))
