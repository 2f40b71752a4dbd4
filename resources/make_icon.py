#!/usr/bin/env python3
"""Draws the application icon: marbles resting on a trellis in a rounded tile.

Writes icon.png (512 x 512) and icon.ico (one 256 x 256 PNG image) beside
this script. Pure Python, no imaging library: every pixel is computed from
signed distances, with one pixel of anti-aliasing at every edge.

usage: make_icon.py
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

TILE_TOP = (0x1d, 0x2b, 0x53)
TILE_BOTTOM = (0x2d, 0x8c, 0xf0)
MARBLES = [  # centre (in a 512 grid), radius, colour
    ((256, 148), 58, (0xff, 0xb3, 0x47)),
    ((164, 256), 50, (0x4c, 0xd9, 0xc0)),
    ((348, 256), 50, (0xff, 0x6b, 0x6b)),
    ((256, 364), 58, (0xf4, 0xf1, 0xea)),
]


def coverage(distance):
    """Share of a pixel inside a shape, from the signed distance of its centre."""
    return min(1.0, max(0.0, 0.5 - distance))


def rounded_square(x, y, lo, hi, radius):
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return math.hypot(x - cx, y - cy) - radius


def trellis(x, y, spacing, width):
    """Distance to the nearest bar of a diagonal lattice."""
    u = (x + y) / math.sqrt(2)
    v = (x - y) / math.sqrt(2)
    du = abs((u % spacing) - spacing / 2)
    dv = abs((v % spacing) - spacing / 2)
    return min(spacing / 2 - du, spacing / 2 - dv) - width / 2


def blend(dst, src, alpha):
    return tuple(d + (s - d) * alpha for d, s in zip(dst, src))


def pixel(x, y):
    """RGBA of the pixel whose centre is (x, y) in the 512 grid."""
    tile = coverage(rounded_square(x, y, 24, 488, 104))
    if tile <= 0:
        return (0, 0, 0, 0)
    t = (y - 24) / 464
    rgb = blend(TILE_TOP, TILE_BOTTOM, max(0.0, min(1.0, t)))
    bar = coverage(trellis(x, y - 256, 92, 9)) * coverage(rounded_square(x, y, 60, 452, 76))
    rgb = blend(rgb, (0xff, 0xff, 0xff), 0.28 * bar)
    for (mx, my), radius, colour in MARBLES:
        d = math.hypot(x - mx, y - my)
        # A soft shadow below and to the right of each marble.
        shadow = coverage(math.hypot(x - mx - 7, y - my - 10) - radius) * 0.35
        rgb = blend(rgb, (0x0b, 0x12, 0x24), shadow)
        inside = coverage(d - radius)
        if inside <= 0:
            continue
        # Lit from the upper left: darker towards the lower right rim.
        lx, ly = (x - mx) / radius, (y - my) / radius
        shade = 0.55 + 0.45 * max(0.0, 1 - math.hypot(lx + 0.35, ly + 0.4) / 1.4)
        body = tuple(c * shade for c in colour)
        gloss = max(0.0, 1 - math.hypot(lx + 0.38, ly + 0.42) / 0.32)
        body = blend(body, (0xff, 0xff, 0xff), 0.85 * gloss * gloss)
        rgb = blend(rgb, body, inside)
    return (*rgb, 255 * tile)


def render(size):
    scale = 512 / size
    rows = []
    for j in range(size):
        row = bytearray([0])  # filter: none
        for i in range(size):
            r, g, b, a = pixel((i + 0.5) * scale, (j + 0.5) * scale)
            row += bytes(int(round(max(0, min(255, c)))) for c in (r, g, b, a))
        rows.append(bytes(row))
    return b"".join(rows)


def png(size):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(render(size), 9)) + chunk(b"IEND", b""))


def ico(image):
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(image), 6 + 16)  # 0 = 256 px
    return directory + entry + image


if __name__ == "__main__":
    with open(os.path.join(HERE, "icon.png"), "wb") as f:
        f.write(png(512))
    with open(os.path.join(HERE, "icon.ico"), "wb") as f:
        f.write(ico(png(256)))
