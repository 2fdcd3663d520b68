#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the program's icon, a clock face: the 32 x 32, 24-bit window icon as pomvale.png and
pomvale.ico, and the launcher's icons at the hicolor theme's sizes, 16 to 256, with smooth
transparent edges, as hicolor/<size>.png.

Run from this folder; all files are committed, so the build needs no Python.
"""
import math
import os
import struct
import zlib

SIZE = 32
HICOLOR_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
BACKGROUND = (0, 0, 0)          # the transparent corners of the ICO take this colour
RIM = (178, 34, 34)
FACE = (255, 250, 240)
MARK = (60, 60, 60)
HAND = (30, 30, 30)
SECOND = (210, 40, 40)


def draw():
    centre = (SIZE - 1) / 2
    pixels = [[BACKGROUND] * SIZE for _ in range(SIZE)]
    mask = [[True] * SIZE for _ in range(SIZE)]  # True: outside the clock

    def near_segment(x, y, angle, length, width):
        dx, dy = math.sin(angle), -math.cos(angle)
        px, py = x - centre, y - centre
        t = max(0.0, min(length, px * dx + py * dy))
        return math.hypot(px - t * dx, py - t * dy) <= width

    for y in range(SIZE):
        for x in range(SIZE):
            r = math.hypot(x - centre, y - centre)
            if r > 15.5:
                continue
            mask[y][x] = False
            colour = RIM if r > 13.0 else FACE
            if 10.0 < r <= 12.5:
                angle = math.atan2(x - centre, centre - y) % (2 * math.pi)
                if min(angle % (math.pi / 6), math.pi / 6 - angle % (math.pi / 6)) * r < 0.8:
                    colour = MARK
            if near_segment(x, y, math.radians(0), 9.5, 1.1):     # minute hand at 12
                colour = HAND
            if near_segment(x, y, math.radians(90), 6.5, 1.4):    # hour hand at 3
                colour = HAND
            if near_segment(x, y, math.radians(225), 10.5, 0.6):  # second hand
                colour = SECOND
            if r < 1.8:
                colour = SECOND
            pixels[y][x] = colour
    return pixels, mask


def colour_at(x, y, size):
    """The colour at point (x, y) of a clock face drawn size pixels wide, or None outside it."""
    unit = size / SIZE  # the 32-pixel design, scaled
    centre = size / 2
    px, py = (x - centre) / unit, (y - centre) / unit
    r = math.hypot(px, py)
    if r > 16.0:
        return None

    def near_segment(angle, length, width):
        dx, dy = math.sin(angle), -math.cos(angle)
        t = max(0.0, min(length, px * dx + py * dy))
        return math.hypot(px - t * dx, py - t * dy) <= width

    colour = RIM if r > 13.5 else FACE
    if 10.5 < r <= 13.0:
        angle = math.atan2(px, -py) % (2 * math.pi)
        if min(angle % (math.pi / 6), math.pi / 6 - angle % (math.pi / 6)) * r < 0.8:
            colour = MARK
    if near_segment(math.radians(0), 9.5, 1.1):
        colour = HAND
    if near_segment(math.radians(90), 6.5, 1.4):
        colour = HAND
    if near_segment(math.radians(225), 10.5, 0.6):
        colour = SECOND
    if r < 1.8:
        colour = SECOND
    return colour


def draw_smooth(size, samples=4):
    """RGBA rows of the face at any size, each pixel averaged over samples x samples points."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            inside = []
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples, size)
                    if c is not None:
                        inside.append(c)
            if not inside:
                row.append((0, 0, 0, 0))
                continue
            rgb = tuple(round(sum(c[i] for c in inside) / len(inside)) for i in range(3))
            row.append(rgb + (round(255 * len(inside) / samples ** 2),))
        rows.append(row)
    return rows


def png(pixels):
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    channels = len(pixels[0][0])
    header = struct.pack(">IIBBBBB", len(pixels[0]), len(pixels), 8, 6 if channels == 4 else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico(pixels, mask):
    rows = []
    for row in reversed(pixels):  # bottom-up, BGR
        rows.append(bytes(c for r, g, b in row for c in (b, g, r)))
    xor = b"".join(rows)
    and_rows = []
    for row in reversed(mask):
        bits = 0
        for x, outside in enumerate(row):
            if outside:
                bits |= 1 << (31 - x)
        and_rows.append(struct.pack(">I", bits))
    and_mask = b"".join(and_rows)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 24, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = info + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24, len(image), 22)
    return directory + image


if __name__ == "__main__":
    pixels, mask = draw()
    with open("pomvale.png", "wb") as f:
        f.write(png(pixels))
    with open("pomvale.ico", "wb") as f:
        f.write(ico(pixels, mask))
    os.makedirs("hicolor", exist_ok=True)
    for size in HICOLOR_SIZES:
        with open(f"hicolor/{size}.png", "wb") as f:
            f.write(png(draw_smooth(size)))
