#!/usr/bin/env python3
"""Draws the settings bundle's pictures into prefs/resources/: banner.png, the
header of the first page (780 x 400 pixels), and icon@2x.png, the bundle's
icon (58 x 58 pixels, 29 points at 2x). Both show a notification banner: a
rounded card with an app icon and two lines of text, on the product's red.
Only the standard library is used; coverage is sampled 2 x 2 per pixel.

    python3 prefs/generate-pictures.py        # rewrites the PNG files
"""

import os
import struct
import zlib

RED = (238, 70, 107)
DEEP_RED = (190, 24, 60)
WHITE = (255, 255, 255)
SAMPLES = 2


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        qx = max(x0 + r - x, 0, x - (x1 - r))
        qy = max(y0 + r - y, 0, y - (y1 - r))
        return qx * qx + qy * qy <= r * r

    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def coverage(shape, px, py, width, height):
    hits = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            if shape((px + (sx + 0.5) / SAMPLES) / width, (py + (sy + 0.5) / SAMPLES) / height):
                hits += 1
    return hits / (SAMPLES * SAMPLES)


def blend(under, over, alpha):
    return tuple(u + (o - u) * alpha for u, o in zip(under, over))


def background(x, y):
    """A diagonal gradient from the product's red to a deeper red."""
    t = min(max((x + y) / 2, 0), 1)
    return blend(RED, DEEP_RED, t)


def draw(width, height, layers, rounded=None):
    """layers: (shape in unit coordinates, colour, opacity), drawn in order over
    the background; `rounded` clips the whole picture to a shape."""
    raw = bytearray()
    for py in range(height):
        raw.append(0)
        for px in range(width):
            colour = background(px / width, py / height)
            for shape, paint, opacity in layers:
                c = coverage(shape, px, py, width, height)
                if c:
                    colour = blend(colour, paint, c * opacity)
            alpha = 1.0 if rounded is None else coverage(rounded, px, py, width, height)
            raw.extend(int(round(v)) for v in colour)
            raw.append(int(round(alpha * 255)))
    return png(width, height, raw)


def png(width, height, raw):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def banner_card(x0, y0, x1, y1, aspect):
    """A banner: the card, its icon and two text lines, in unit coordinates of a
    picture whose width is `aspect` times its height."""
    h = y1 - y0
    radius = h * 0.28
    icon = h * 0.26
    icon_x = x0 + h * 0.42 / aspect
    centre_y = y0 + h / 2
    text_x = icon_x + icon * 1.6 / aspect
    return [
        (rounded_rect(x0, y0, x1, y1, radius / aspect if aspect > 1 else radius), WHITE, 0.92),
        (lambda x, y: ((x - icon_x) * aspect) ** 2 + (y - centre_y) ** 2 <= icon * icon, RED, 1.0),
        (rounded_rect(text_x, centre_y - h * 0.2, x0 + (x1 - x0) * 0.62, centre_y - h * 0.08, 0.0), DEEP_RED, 0.85),
        (rounded_rect(text_x, centre_y + h * 0.06, x0 + (x1 - x0) * 0.86, centre_y + h * 0.16, 0.0), (150, 150, 150), 0.8),
    ]


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "resources")
    width, height = 780, 400
    aspect = width / height
    layers = [
        (circle(0.92, 0.1, 0.3), WHITE, 0.08),
        (circle(0.05, 0.95, 0.25), WHITE, 0.06),
    ]
    layers += banner_card(0.16, 0.36, 0.84, 0.64, aspect)
    with open(os.path.join(folder, "banner.png"), "wb") as out:
        out.write(draw(width, height, layers))
    size = 58
    icon_layers = banner_card(0.14, 0.32, 0.86, 0.68, 1.0)
    with open(os.path.join(folder, "icon@2x.png"), "wb") as out:
        out.write(draw(size, size, icon_layers, rounded=rounded_rect(0, 0, 1, 1, 0.225)))


if __name__ == "__main__":
    main()
