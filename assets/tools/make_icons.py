#!/usr/bin/env python3
"""Draws Zelvatron's application icon from the ship's pixel art.

    python3 assets/tools/make_icons.py     # writes into assets/ and packaging/icons/

The ship of make_art.py, one art pixel to one icon pixel, on a night-blue
tile with rounded corners and a few stars. The SVG is the same picture as
squares, so it stays crisp at any size.

  assets/icon-48.png, assets/icon-96.png           the window icon
  packaging/icons/<id>.png (48 x 48), <id>.svg     the desktop's icon
"""

import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_art  # noqa: E402

APP_ID = "io.github.zelvatron.Zelvatron"
SIZE = 48
RADIUS = 8
TOP = (0x1c, 0x1f, 0x4a)
BOTTOM = (0x05, 0x06, 0x14)
STARS = [(7, 9, 0xd0), (39, 6, 0xff), (41, 30, 0xa0), (5, 33, 0xb0), (13, 22, 0x90),
         (35, 17, 0xc0), (24, 3, 0x80)]


def inside_tile(x, y):
    """True for pixels of the rounded square (corner circles centred RADIUS in)."""
    cx = min(max(x + 0.5, RADIUS), SIZE - RADIUS)
    cy = min(max(y + 0.5, RADIUS), SIZE - RADIUS)
    return (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= RADIUS ** 2


def background(y):
    t = y / (SIZE - 1)
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(TOP, BOTTOM))


def ship_offset(ship):
    return (SIZE - len(ship[0])) // 2, (SIZE - len(ship)) // 2


def icon_pixels():
    """48 x 48 rows of (r, g, b, a)."""
    rows = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if inside_tile(x, y):
                rows[y][x] = background(y) + (255,)
    for x, y, v in STARS:
        rows[y][x] = (v, v, v, 255)
    ship = make_art.ship_pixels()
    ox, oy = ship_offset(ship)
    for y, line in enumerate(ship):
        for x, c in enumerate(line):
            if c is not None:
                rows[oy + y][ox + x] = tuple(make_art.clamp8(v) for v in c) + (255,)
    return rows


def png_rgba(rows, scale=1):
    raw = bytearray()
    for row in rows:
        for _ in range(scale):
            raw.append(0)
            for px in row:
                raw += bytes(px) * scale
    h, w = len(rows) * scale, len(rows[0]) * scale
    header = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n"
            + make_art._chunk(b"IHDR", header)
            + make_art._chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + make_art._chunk(b"IEND", b""))


def hexof(c):
    return "#%02x%02x%02x" % tuple(make_art.clamp8(v) for v in c[:3])


def svg_text():
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d" '
           'shape-rendering="crispEdges">' % (SIZE, SIZE, SIZE, SIZE),
           '<defs><linearGradient id="night" x1="0" y1="0" x2="0" y2="1">'
           '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
           '</linearGradient></defs>' % (hexof(TOP), hexof(BOTTOM)),
           '<rect width="%d" height="%d" rx="%d" fill="url(#night)" shape-rendering="auto"/>'
           % (SIZE, SIZE, RADIUS)]
    for x, y, v in STARS:
        out.append('<rect x="%d" y="%d" width="1" height="1" fill="%s"/>' % (x, y, hexof((v, v, v))))
    ship = make_art.ship_pixels()
    ox, oy = ship_offset(ship)
    # One rectangle per run of a colour along a row.
    for y, line in enumerate(ship):
        x = 0
        while x < len(line):
            c = line[x]
            end = x + 1
            while end < len(line) and c is not None and line[end] == c:
                end += 1
            if c is not None:
                out.append('<rect x="%d" y="%d" width="%d" height="1" fill="%s"/>'
                           % (ox + x, oy + y, end - x, hexof(c)))
            x = end
    out.append("</svg>")
    return "\n".join(out) + "\n"


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    rows = icon_pixels()
    icons = os.path.join(root, "packaging", "icons")
    os.makedirs(icons, exist_ok=True)
    files = {
        os.path.join(root, "assets", "icon-48.png"): png_rgba(rows),
        os.path.join(root, "assets", "icon-96.png"): png_rgba(rows, 2),
        os.path.join(icons, APP_ID + ".png"): png_rgba(rows),
        os.path.join(icons, APP_ID + ".svg"): svg_text().encode(),
    }
    for path, data in files.items():
        with open(path, "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
