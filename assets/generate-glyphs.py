#!/usr/bin/env python3
"""Draws the app glyphs of the asset bundle: simple monochrome marks, 60 x 60
pixels (20 points at 3x), black and white, written as RGBA PNG files under
glyphs/black/ and glyphs/white/. Only the standard library is used.

Each mark is a union of filled shapes in a unit square (y grows downwards)
minus cut-outs; coverage is sampled 5 x 5 times per pixel for smooth edges.

    python3 assets/generate-glyphs.py        # rewrites the PNG files
"""

import math
import os
import struct
import zlib

SIZE = 60
SAMPLES = 5


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def ring(cx, cy, outer, inner):
    return lambda x, y: inner * inner <= (x - cx) ** 2 + (y - cy) ** 2 <= outer * outer


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        qx = max(x0 + r - x, 0, x - (x1 - r))
        qy = max(y0 + r - y, 0, y - (y1 - r))
        return qx * qx + qy * qy <= r * r

    return inside


def capsule(ax, ay, bx, by, r):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = 0 if length2 == 0 else max(0, min(1, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx - x, ay + t * dy - y
        return px * px + py * py <= r * r

    return inside


def polyline(points, r):
    parts = [capsule(*points[i], *points[i + 1], r) for i in range(len(points) - 1)]
    return lambda x, y: any(part(x, y) for part in parts)


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


def mark(shapes, cutouts=()):
    return lambda x, y: any(s(x, y) for s in shapes) and not any(c(x, y) for c in cutouts)


GLYPHS = {
    # A round speech bubble with a handset inside.
    "whatsapp": mark(
        [
            ring(0.5, 0.47, 0.40, 0.33),
            polygon([(0.12, 0.90), (0.19, 0.66), (0.36, 0.80)]),
            capsule(0.38, 0.34, 0.62, 0.60, 0.055),
            circle(0.37, 0.33, 0.085),
            circle(0.63, 0.61, 0.085),
        ]
    ),
    # A filled speech bubble.
    "imessages": mark([ellipse(0.5, 0.45, 0.42, 0.34), polygon([(0.20, 0.66), (0.10, 0.90), (0.40, 0.76)])]),
    # A small bird.
    "twitter": mark(
        [
            ellipse(0.47, 0.58, 0.29, 0.19),
            circle(0.69, 0.40, 0.14),
            polygon([(0.78, 0.32), (0.94, 0.27), (0.82, 0.44)]),
            polygon([(0.26, 0.55), (0.10, 0.22), (0.50, 0.48)]),
            polygon([(0.24, 0.60), (0.05, 0.66), (0.28, 0.72)]),
        ]
    ),
    # A hash of four rounded bars.
    "slack": mark(
        [
            capsule(0.38, 0.14, 0.38, 0.86, 0.075),
            capsule(0.62, 0.14, 0.62, 0.86, 0.075),
            capsule(0.14, 0.38, 0.86, 0.38, 0.075),
            capsule(0.14, 0.62, 0.86, 0.62, 0.075),
        ]
    ),
    # A game controller with two eyes.
    "discord": mark(
        [rounded_rect(0.12, 0.24, 0.88, 0.72, 0.20), circle(0.26, 0.70, 0.12), circle(0.74, 0.70, 0.12)],
        [ellipse(0.37, 0.50, 0.075, 0.09), ellipse(0.63, 0.50, 0.075, 0.09)],
    ),
    # A camera: rounded frame, lens and a dot.
    "instagram": mark(
        [
            mark([rounded_rect(0.10, 0.10, 0.90, 0.90, 0.25)], [rounded_rect(0.18, 0.18, 0.82, 0.82, 0.17)]),
            ring(0.5, 0.5, 0.195, 0.125),
            circle(0.685, 0.315, 0.05),
        ]
    ),
    # A bubble with a lightning zig-zag cut out.
    "facebook_messenger": mark(
        [ellipse(0.5, 0.46, 0.42, 0.37), polygon([(0.24, 0.72), (0.22, 0.94), (0.44, 0.81)])],
        [polyline([(0.24, 0.58), (0.42, 0.39), (0.57, 0.52), (0.76, 0.34)], 0.05)],
    ),
    # A paper plane with its fold.
    "telegram": mark(
        [polygon([(0.06, 0.47), (0.92, 0.13), (0.74, 0.86)]), polygon([(0.36, 0.58), (0.42, 0.84), (0.54, 0.66)])],
        [capsule(0.40, 0.60, 0.90, 0.15, 0.03)],
    ),
}


def coverage(inside):
    rows = []
    step = 1.0 / (SIZE * SAMPLES)
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            hits = 0
            for sy in range(SAMPLES):
                y = (py * SAMPLES + sy + 0.5) * step
                for sx in range(SAMPLES):
                    x = (px * SAMPLES + sx + 0.5) * step
                    hits += inside(x, y)
            row.append(round(255 * hits / (SAMPLES * SAMPLES)))
        rows.append(row)
    return rows


def png(rows, gray):
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for alpha in row:
            raw += bytes((gray, gray, gray, alpha))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, inside in GLYPHS.items():
        rows = coverage(inside)
        for variant, gray in (("black", 0), ("white", 255)):
            folder = os.path.join(here, "glyphs", variant)
            os.makedirs(folder, exist_ok=True)
            with open(os.path.join(folder, name + ".png"), "wb") as file:
                file.write(png(rows, gray))


if __name__ == "__main__":
    main()
