#!/usr/bin/env python3
"""Draws the app icons the demo's tour hands to the home screen: a coloured
square with a white mark, 120 x 120 pixels (40 points at 3x), written as RGBA
PNG files into fixtures/. Only the standard library is used; coverage is
sampled 4 x 4 times per pixel for smooth edges.

    python3 tools/brix/demo/generate-fixtures.py     # rewrites the PNG files
"""

import os
import struct
import zlib

SIZE = 120
SAMPLES = 4


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def ring(cx, cy, outer, inner):
    return lambda x, y: inner * inner <= (x - cx) ** 2 + (y - cy) ** 2 <= outer * outer


def capsule(ax, ay, bx, by, r):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = 0 if length2 == 0 else max(0, min(1, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx - x, ay + t * dy - y
        return px * px + py * py <= r * r

    return inside


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result

    return inside


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


# name: (top colour, bottom colour, white mark)
ICONS = {
    # A speech bubble on green.
    "messages-icon@3x": (
        (0x5B, 0xE0, 0x6F),
        (0x2C, 0xB8, 0x45),
        union(ellipse(0.5, 0.47, 0.32, 0.26), polygon([(0.27, 0.62), (0.19, 0.80), (0.42, 0.71)])),
    ),
    # A round bubble with a handset inside, on a deeper green.
    "chat-icon@3x": (
        (0x3D, 0xD9, 0x75),
        (0x1A, 0xA8, 0x50),
        union(
            ring(0.5, 0.48, 0.30, 0.245),
            polygon([(0.21, 0.80), (0.26, 0.62), (0.38, 0.72)]),
            capsule(0.41, 0.39, 0.59, 0.58, 0.04),
            circle(0.40, 0.38, 0.065),
            circle(0.60, 0.59, 0.065),
        ),
    ),
    # A clock face at seven o'clock, on black.
    "clock-icon@3x": (
        (0x26, 0x26, 0x2A),
        (0x0C, 0x0C, 0x0E),
        union(
            ring(0.5, 0.5, 0.36, 0.32),
            capsule(0.5, 0.5, 0.5, 0.24, 0.03),
            capsule(0.5, 0.5, 0.37, 0.64, 0.035),
            circle(0.5, 0.5, 0.045),
        ),
    ),
}


def pixels(top, bottom, mark):
    raw = bytearray()
    step = 1.0 / (SIZE * SAMPLES)
    for py in range(SIZE):
        raw.append(0)
        blend = py / (SIZE - 1)
        base = [round(t + (b - t) * blend) for t, b in zip(top, bottom)]
        for px in range(SIZE):
            hits = 0
            for sy in range(SAMPLES):
                y = (py * SAMPLES + sy + 0.5) * step
                for sx in range(SAMPLES):
                    hits += mark((px * SAMPLES + sx + 0.5) * step, y)
            cover = hits / (SAMPLES * SAMPLES)
            raw += bytes(round(c + (255 - c) * cover) for c in base) + b"\xff"
    return bytes(raw)


def png(raw):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures")
    os.makedirs(folder, exist_ok=True)
    for name, (top, bottom, mark) in ICONS.items():
        with open(os.path.join(folder, name + ".png"), "wb") as file:
            file.write(png(pixels(top, bottom, mark)))


if __name__ == "__main__":
    main()
