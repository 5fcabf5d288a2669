#!/usr/bin/env python3
"""Draws Zelvatron's three pictures and writes them as PNG files.

    python3 assets/tools/make_art.py            # writes into assets/
    python3 assets/tools/make_art.py OUT_DIR    # writes somewhere else

Pure standard library (zlib + struct). Every random choice comes from a
fixed seed, so running it twice gives byte-identical files.

  ship.png   35 x 42   player ship pointing up, on white
  enemy.png  30 x 30   alien enemy, on black
  title.png 512 x 384  title screen backdrop
"""

import math
import os
import random
import struct
import sys
import zlib


# --------------------------------------------------------------------------
# PNG output
# --------------------------------------------------------------------------

def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png_bytes(img):
    """8-bit RGB PNG (colour type 2), filter 0 on every row."""
    raw = bytearray()
    for row in img.rows:
        raw.append(0)
        for r, g, b in row:
            raw += bytes((r, g, b))
    header = struct.pack(">IIBBBBB", img.w, img.h, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n"
            + _chunk(b"IHDR", header)
            + _chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + _chunk(b"IEND", b""))


# --------------------------------------------------------------------------
# A tiny RGB canvas
# --------------------------------------------------------------------------

def clamp8(v):
    return 0 if v < 0 else 255 if v > 255 else int(v + 0.5)


def hexrgb(s):
    s = s.lstrip("#")
    return (int(s[0:2], 16), int(s[2:4], 16), int(s[4:6], 16))


def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


class Image:
    def __init__(self, w, h, fill=(0, 0, 0)):
        self.w, self.h = w, h
        self.rows = [[fill] * w for _ in range(h)]

    def inside(self, x, y):
        return 0 <= x < self.w and 0 <= y < self.h

    def get(self, x, y):
        return self.rows[y][x]

    def put(self, x, y, c):
        if self.inside(x, y):
            self.rows[y][x] = (clamp8(c[0]), clamp8(c[1]), clamp8(c[2]))

    def blend(self, x, y, c, a):
        if a <= 0 or not self.inside(x, y):
            return
        if a > 1:
            a = 1.0
        self.put(x, y, mix(self.rows[y][x], c, a))

    def add(self, x, y, c, a=1.0):
        if a <= 0 or not self.inside(x, y):
            return
        o = self.rows[y][x]
        self.put(x, y, (o[0] + c[0] * a, o[1] + c[1] * a, o[2] + c[2] * a))


# --------------------------------------------------------------------------
# Sprites from character maps
# --------------------------------------------------------------------------

def mirrored(half, odd):
    """Left half (outer edge first) -> full row. With odd widths the last
    character of the half is the centre column and is not repeated."""
    return [h + (h[-2::-1] if odd else h[::-1]) for h in half]


def sprite_pixels(rows, palette, right_palette=None):
    """Turn a character map into a grid of colours (None = background).
    Columns right of the centre use right_palette where it has an entry,
    which lets a symmetric map be lit from the left."""
    w = len(rows[0])
    out = []
    for y, row in enumerate(rows):
        assert len(row) == w, "row %d is %d wide, expected %d" % (y, len(row), w)
        line = []
        for x, ch in enumerate(row):
            if ch == ".":
                line.append(None)
                continue
            pal = palette
            if right_palette and x > (w - 1) / 2.0 and ch in right_palette:
                pal = right_palette
            line.append(pal[ch])
        out.append(line)
    return out


def shaded(palette, factor, keep=""):
    return {k: (v if k in keep else tuple(c * factor for c in v)) for k, v in palette.items()}


def sprite_image(pixels, background):
    img = Image(len(pixels[0]), len(pixels), background)
    for y, line in enumerate(pixels):
        for x, c in enumerate(line):
            if c is not None:
                img.put(x, y, c)
    return img


# --- player ship ----------------------------------------------------------
# Left half, outer edge first; the last column is the ship's centre line.
#   K outline      W/L/M/D hull, light to dark     c/C/B canopy
#   r/R/Q red trim n nozzle  o/y/f/h exhaust flame

SHIP_HALF = [
    "..................",  # 0
    ".................K",  # 1
    "................KL",  # 2
    "................KW",  # 3
    "...............KMW",  # 4
    "...............KMW",  # 5
    "...............KML",  # 6
    "..............KDML",  # 7
    "..............KDMK",  # 8
    "..............KDKc",  # 9
    ".............KDKcc",  # 10
    ".............KDKcW",  # 11
    ".............KDKCc",  # 12
    ".KK..........KDKCc",  # 13
    "KrRK........KDMKBC",  # 14
    "KWMK........KDMKBC",  # 15
    "KWMK........KDMLKK",  # 16
    "KWMK........KDMLLW",  # 17
    "KWMK.......KDMMLLW",  # 18
    "KWMK......KLDMMLLW",  # 19
    "KWMK.....KLMDMMLLR",  # 20
    "KWMK....KLMMDMMLRR",  # 21
    "KWMK...KLMrMDMMRRL",  # 22
    "KWMK..KLMrRMDMRRLW",  # 23
    "KWMK.KLMrRQMDMRLLW",  # 24
    "KWMKKLMrRQMMDMMLLW",  # 25
    "KWMKLMrRQMMMDMMLLW",  # 26
    "KWMKLMRQMMMMDMMLLW",  # 27
    "KWMKLMMMMMMMDMMLLW",  # 28
    "KWMKMMMMMMMMDDMLLW",  # 29
    "KLMKMMMMMMMDMDMLLW",  # 30
    "KLDKDDDDDDDDKDMMLL",  # 31
    "KLDKKKKKKKKKKDDMML",  # 32
    "KDDK........KDDMMM",  # 33
    "KQQK.........KDMLL",  # 34
    "KnnK.........KKKKK",  # 35
    ".KK...........Kohh",  # 36
    "..............oyhh",  # 37
    "..............foyh",  # 38
    "...............foy",  # 39
    "...............foy",  # 40
    "................fo",  # 41
]

SHIP_PALETTE = {
    "K": hexrgb("#16142a"),
    "W": hexrgb("#eef4ff"),
    "L": hexrgb("#b4c2dc"),
    "M": hexrgb("#7686aa"),
    "D": hexrgb("#464e74"),
    "c": hexrgb("#aef6ff"),
    "C": hexrgb("#34a6e6"),
    "B": hexrgb("#17549e"),
    "r": hexrgb("#ff6a5a"),
    "R": hexrgb("#d22236"),
    "Q": hexrgb("#7c1028"),
    "n": hexrgb("#2a2a40"),
    "h": hexrgb("#fff8d8"),
    "y": hexrgb("#ffe66a"),
    "o": hexrgb("#ff9a22"),
    "f": hexrgb("#e8401c"),
}


def ship_rows():
    return mirrored(SHIP_HALF, odd=True)


def ship_pixels():
    right = shaded(SHIP_PALETTE, 0.80, keep="Khyof")
    return sprite_pixels(ship_rows(), SHIP_PALETTE, right)


# --- alien enemy ----------------------------------------------------------
# Left half, outer edge first (the sprite is 30 wide, so it mirrors evenly).
#   O outline  H/L/M/D carapace, light to dark   y/e/w eye  p pupil
#   T teeth    r mouth  g/G/J claws and legs, light to dark  a antenna glow

ENEMY_HALF = [
    "........OOO....",  # 0
    ".OO....OawaO...",  # 1
    "OggO...OeaeO...",  # 2
    "OgGO.OO.OOO....",  # 3
    "OgGOOgO...M....",  # 4
    "OgGGgGO...M.OOO",  # 5
    ".OGGGO....MOHLL",  # 6
    "..OGJO...OOLHLM",  # 7
    "..OgJO..OLHLLMD",  # 8
    "..OgJO.OLLDDMDM",  # 9
    "..OgJOOLLOOODMM",  # 10
    "..OgJOLLOyywOMM",  # 11
    "..OgJOLMOyppOMM",  # 12
    "..OgJODMOeppOMM",  # 13
    "...OODMMMOOOMMM",  # 14
    "...ODDMDMMOOOOO",  # 15
    "...ODDDMMOTrTrT",  # 16
    "....ODDDDOrTrTr",  # 17
    ".....OOOOOOOOOO",  # 18
    ".....OgGOOgGOOg",  # 19
    "....OgGO.OgGOOG",  # 20
    "...OgGO..OgGO.O",  # 21
    "..OgGO...OgGO..",  # 22
    "..OgJO...OgJO..",  # 23
    "..OgJO...OgJO..",  # 24
    "..OgO...OgJO...",  # 25
    "..OO....OgO....",  # 26
    "........OO.....",  # 27
    "...............",  # 28
    "...............",  # 29
]

ENEMY_PALETTE = {
    "O": hexrgb("#3a0f5e"),
    "H": hexrgb("#f2d6ff"),
    "L": hexrgb("#c07cf4"),
    "M": hexrgb("#8c3ccc"),
    "D": hexrgb("#5a2090"),
    "y": hexrgb("#fff04a"),
    "e": hexrgb("#f0a020"),
    "w": hexrgb("#ffffff"),
    "p": hexrgb("#b01018"),
    "T": hexrgb("#f4f0e0"),
    "r": hexrgb("#4a0418"),
    "g": hexrgb("#8cf070"),
    "G": hexrgb("#3ca040"),
    "J": hexrgb("#1e6028"),
    "a": hexrgb("#ffb0e8"),
}


def enemy_rows():
    return mirrored(ENEMY_HALF, odd=False)


def enemy_pixels():
    right = shaded(ENEMY_PALETTE, 0.78, keep="Oywpwa")
    return sprite_pixels(enemy_rows(), ENEMY_PALETTE, right)


def make_ship():
    return sprite_image(ship_pixels(), (255, 255, 255))


def make_enemy():
    return sprite_image(enemy_pixels(), (0, 0, 0))


# --------------------------------------------------------------------------
# Title picture
# --------------------------------------------------------------------------

W, H = 512, 384

# Region where the game writes the title text; kept dark and quiet.
CALM = (80, 433, 24, 137)

BAYER4 = [
    [0, 8, 2, 10],
    [12, 4, 14, 6],
    [3, 11, 1, 9],
    [15, 7, 13, 5],
]


def bayer(x, y):
    return (BAYER4[y & 3][x & 3] + 0.5) / 16.0


def dither_pick(ramp, t, x, y):
    """Pick a colour from ramp for t in [0, 1] with ordered dithering."""
    if t <= 0:
        return ramp[0]
    pos = t * (len(ramp) - 1)
    i = int(pos)
    if i >= len(ramp) - 1:
        return ramp[-1]
    return ramp[i + 1] if pos - i > bayer(x, y) else ramp[i]


def smoothstep(e0, e1, v):
    t = (v - e0) / (e1 - e0)
    t = 0.0 if t < 0 else 1.0 if t > 1 else t
    return t * t * (3 - 2 * t)


def calm_factor(x, y, feather=26.0):
    """1 inside the title text region, fading to 0 outside it."""
    x0, x1, y0, y1 = CALM
    dx = max(x0 - x, 0, x - x1)
    dy = max(y0 - y, 0, y - y1)
    d = math.hypot(dx, dy)
    return 1.0 - smoothstep(0, feather, d)


class ValueNoise:
    def __init__(self, seed):
        rnd = random.Random(seed)
        perm = list(range(256))
        rnd.shuffle(perm)
        self.perm = perm + perm
        self.vals = [rnd.random() for _ in range(256)]

    def _at(self, ix, iy):
        return self.vals[self.perm[(self.perm[ix & 255] + iy) & 255]]

    def value(self, x, y):
        ix, iy = math.floor(x), math.floor(y)
        fx, fy = x - ix, y - iy
        fx = fx * fx * (3 - 2 * fx)
        fy = fy * fy * (3 - 2 * fy)
        a = self._at(ix, iy)
        b = self._at(ix + 1, iy)
        c = self._at(ix, iy + 1)
        d = self._at(ix + 1, iy + 1)
        top = a + (b - a) * fx
        bot = c + (d - c) * fx
        return top + (bot - top) * fy

    def fbm(self, x, y, octaves=5):
        total, amp, norm = 0.0, 1.0, 0.0
        for _ in range(octaves):
            total += self.value(x, y) * amp
            norm += amp
            amp *= 0.5
            x, y = x * 2.03 + 17.1, y * 2.03 + 9.7
        return total / norm


def fine_ramp(colours, steps=3):
    """Insert in-between shades so dithering only mixes near neighbours."""
    out = []
    for a, b in zip(colours, colours[1:]):
        for i in range(steps):
            out.append(mix(a, b, i / float(steps)))
    out.append(colours[-1])
    return out


PURPLE_RAMP = [hexrgb(c) for c in (
    "#000000", "#16062a", "#2a0c48", "#44145e", "#64207a", "#8c3a96", "#b866b4", "#e0a0d0")]
TEAL_RAMP = [hexrgb(c) for c in (
    "#000000", "#041226", "#082444", "#0e3a66", "#1a5a8a", "#3288b0", "#70c0d8")]


PURPLE_FINE = fine_ramp(PURPLE_RAMP)
TEAL_FINE = fine_ramp(TEAL_RAMP)


def blob(x, y, cx, cy, rx, ry):
    dx, dy = (x - cx) / rx, (y - cy) / ry
    return math.exp(-(dx * dx + dy * dy))


def draw_background(img):
    warp = ValueNoise(11)
    neb_a = ValueNoise(23)
    neb_b = ValueNoise(37)
    for y in range(H):
        top = mix(hexrgb("#020208"), hexrgb("#0a0620"), y / (H - 1.0))
        for x in range(W):
            qx = warp.fbm(x / 110.0, y / 110.0, 3)
            qy = warp.fbm(x / 110.0 + 5.2, y / 110.0 + 1.3, 3)
            # Purple clouds: a sweep on the left, a bank behind the boss
            # in the top right corner and a haze around the planet.
            mask_a = max(blob(x, y, 40, 250, 150, 120),
                         blob(x, y, 500, 70, 150, 110),
                         0.8 * blob(x, y, 300, 380, 190, 70))
            # Blue-green streamers crossing the purple ones.
            mask_b = max(blob(x, y, 130, 330, 170, 70),
                         blob(x, y, 470, 200, 120, 90),
                         0.6 * blob(x, y, 20, 90, 80, 90))
            calm = 1.0 - 0.85 * calm_factor(x, y, 40.0)
            na = neb_a.fbm(x / 70.0 + 1.7 * qx, y / 70.0 + 1.7 * qy)
            nb = neb_b.fbm(x / 55.0 - 1.4 * qy, y / 55.0 + 1.4 * qx)
            ta = smoothstep(0.36, 0.78, na) * mask_a * calm
            tb = smoothstep(0.42, 0.80, nb) * mask_b * calm
            ca = dither_pick(PURPLE_FINE, ta, x, y)
            cb = dither_pick(TEAL_FINE, tb, x, y)
            img.put(x, y, (top[0] + ca[0] + cb[0] * 0.8,
                           top[1] + ca[1] + cb[1] * 0.8,
                           top[2] + ca[2] + cb[2] * 0.8))


STAR_TINTS = [hexrgb(c) for c in (
    "#ffffff", "#ffffff", "#cfe0ff", "#a8c4ff", "#fff2c8", "#ffd0a0", "#ffb0b0", "#d8c8ff")]


def draw_stars(img):
    rnd = random.Random(4242)
    # Faint dust: single pixels.
    for _ in range(1400):
        x, y = rnd.randrange(W), rnd.randrange(H)
        tint = rnd.choice(STAR_TINTS)
        a = rnd.uniform(0.15, 0.55)
        if calm_factor(x, y) > 0:
            a *= 0.7
        img.blend(x, y, tint, a)
    # Brighter single pixels.
    for _ in range(220):
        x, y = rnd.randrange(W), rnd.randrange(H)
        tint = rnd.choice(STAR_TINTS)
        a = rnd.uniform(0.6, 1.0)
        if calm_factor(x, y) > 0:
            a *= 0.6
        img.blend(x, y, tint, a)
    # Small plus-shaped stars (outside the text area only).
    placed = 0
    while placed < 55:
        x, y = rnd.randrange(2, W - 4), rnd.randrange(2, H - 3)
        if calm_factor(x, y, 6) > 0:
            continue
        tint = rnd.choice(STAR_TINTS)
        img.blend(x, y, (255, 255, 255), 1.0)
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            img.blend(x + dx, y + dy, tint, 0.55)
        placed += 1


def draw_sparkle(img, cx, cy, arm, tint, glow):
    """A bright star with a soft halo and four dithered spikes."""
    for y in range(cy - glow, cy + glow + 1):
        for x in range(cx - glow, cx + glow + 1):
            d = math.hypot(x - cx, y - cy) / glow
            if d < 1:
                a = (1 - d) ** 2 * 0.55
                if a > bayer(x, y) * 0.35:
                    img.blend(x, y, tint, a)
    for i in range(1, arm + 1):
        a = 1.0 - i / (arm + 1.0)
        for dx, dy in ((i, 0), (-i, 0), (0, i), (0, -i)):
            img.blend(cx + dx, cy + dy, tint, a)
    for dx, dy in ((1, 1), (-1, 1), (1, -1), (-1, -1)):
        img.blend(cx + dx, cy + dy, tint, 0.45)
    img.put(cx, cy, (255, 255, 255))
    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        img.blend(cx + dx, cy + dy, (255, 255, 255), 0.9)


PLANET_RAMP = [hexrgb(c) for c in (
    "#0a0512", "#1e0a22", "#3a1228", "#5e1e2c", "#8a3230", "#b4503a", "#d87a48", "#f0a866", "#fcd496",
    "#fff0c8")]
# Cloud band tints (multiplied into the lit ramp colour).
PLANET_BANDS = [hexrgb(c) for c in ("#fff0e0", "#e8b0a0", "#fff8f0", "#d09890", "#f8d8c8", "#c08888")]
LIGHT = (-0.78, -0.42, 0.30)


def unit(v):
    n = math.sqrt(sum(c * c for c in v))
    return tuple(c / n for c in v)


def draw_planet(img, cx, cy, r):
    light = unit(LIGHT)
    bands = ValueNoise(71)
    tilt_x, tilt_z = math.cos(0.18), math.sin(0.18)   # spin axis leans towards us
    roll_c, roll_s = math.cos(-0.3), math.sin(-0.3)
    for y in range(max(0, int(cy - r - 5)), H):
        for x in range(max(0, int(cx - r - 5)), W):
            dx, dy = (x + 0.5 - cx) / r, (y + 0.5 - cy) / r
            d2 = dx * dx + dy * dy
            if d2 >= 1.0:
                # Thin atmosphere on the lit side.
                d = math.sqrt(d2)
                if d < 1.0 + 5.0 / r:
                    lit = -(dx * light[0] + dy * light[1]) / d
                    a = (1.0 - (d - 1.0) * r / 5.0) * max(0.0, lit) * 0.8
                    if a > bayer(x, y) * 0.7:
                        img.blend(x, y, hexrgb("#6ac8ff"), a)
                continue
            dz = math.sqrt(1.0 - d2)
            lam = max(0.0, dx * light[0] + dy * light[1] + dz * light[2])
            # Planet-space latitude: roll in the picture plane, then tip.
            px = dx * roll_c - dy * roll_s
            py = dx * roll_s + dy * roll_c
            lat = py * tilt_x - dz * tilt_z
            lon = math.atan2(px, dz * tilt_x + py * tilt_z)
            wob = bands.fbm(lon * 2.2 + 4.0, lat * 14.0, 4)
            band_pos = (lat * 14.0 + wob * 1.2 + 10.0) % len(PLANET_BANDS)
            band = PLANET_BANDS[int(band_pos)]
            # A storm spot.
            sx, sy = lon - 0.35, lat + 0.28
            spot = math.exp(-(sx * sx / 0.03 + sy * sy / 0.006))
            t = lam ** 0.8 * 1.02 + 0.02 + 0.08 * (wob - 0.5)
            base = dither_pick(PLANET_RAMP, max(0.0, min(1.0, t)), x, y)
            col = (base[0] * band[0] / 255.0, base[1] * band[1] / 255.0, base[2] * band[2] / 255.0)
            if spot > 0.35:
                col = mix(col, (col[0] * 0.75, col[1] * 0.45, col[2] * 0.45), 1.0 if spot > 0.7 else 0.6)
            # Lit limb picks up the atmosphere colour.
            rim = smoothstep(0.86, 1.0, math.sqrt(d2)) * max(0.0, -(dx * light[0] + dy * light[1]))
            if rim > bayer(x, y):
                col = mix(col, hexrgb("#a8e4ff"), 0.5)
            img.put(x, y, col)


def draw_moon(img, cx, cy, r):
    light = unit(LIGHT)
    craters = [(-0.35, -0.2, 0.22), (0.25, 0.3, 0.18), (0.1, -0.45, 0.12), (-0.1, 0.5, 0.1)]
    ramp = [hexrgb(c) for c in ("#0e0c18", "#2a2840", "#4c4a66", "#7a7894", "#aaa8c0", "#dcdcec")]
    for y in range(cy - r - 1, cy + r + 2):
        for x in range(cx - r - 1, cx + r + 2):
            dx, dy = (x + 0.5 - cx) / r, (y + 0.5 - cy) / r
            d2 = dx * dx + dy * dy
            if d2 >= 1:
                continue
            dz = math.sqrt(1 - d2)
            lam = max(0.0, dx * light[0] + dy * light[1] + dz * light[2])
            t = lam * 0.9 + 0.04
            for kx, ky, kr in craters:
                cd = math.hypot(dx - kx, dy - ky)
                if cd < kr:
                    # Crater bowl: dark on the lit side, bright on the far rim.
                    t += -0.25 if (dx - kx) * light[0] + (dy - ky) * light[1] > 0 else -0.08
                elif cd < kr + 0.07:
                    t += 0.08
            img.put(x, y, dither_pick(ramp, max(0.0, min(1.0, t)), x, y))


# The boss seen at the top right: a slab of armour with a glowing core.
BOSS_HALF = [
    "...............KKK",  # 0
    "...............KRR",  # 1
    "...........KKKKKKK",  # 2
    "...........KAAAAAA",  # 3
    "...........KABBBBB",  # 4
    "...........KBKKKKK",  # 5
    "...........KBKRRRR",  # 6
    "...KKK.....KBKKKKK",  # 7
    "..KAAAK..KKKKKKKKK",  # 8
    "..KABCK.KAAAAAAAAA",  # 9
    "..KBBCKKABBBBBBBBB",  # 10
    "..KBCCKABCCECCCCCC",  # 11
    "..KBCCKBCACECCACCC",  # 12
    "..KBCCKBCCCEKKKKKK",  # 13
    "..KBCCKBCRCEKEEEEE",  # 14
    "..KBCCKBCCCEKErooo",  # 15
    "..KBCCKBCRCEKEoyyy",  # 16
    "..KBCCKBCCCEKEoyhh",  # 17
    "..KBCCKBCRCEKEoyyy",  # 18
    "..KBCCKBCCCEKErooo",  # 19
    "..KBCCKBCCCEKEEEEE",  # 20
    "..KBCCKBEEEEKKKKKK",  # 21
    "..KBCCKEEEEEEEEEEE",  # 22
    "..KBCCKKKKKKKKKKKK",  # 23
    "..KECCK..KBEK.....",  # 24
    "..KECEK..KBEK.....",  # 25
    "..KKKKK..KBEK.....",  # 26
    "...KEK...KKKK.....",  # 27
    "...KRK....RR......",  # 28
    "....R.............",  # 29
]

BOSS_PALETTE = {
    "K": hexrgb("#07070e"),
    "A": hexrgb("#7c86a8"),
    "B": hexrgb("#4c5478"),
    "C": hexrgb("#2c3250"),
    "E": hexrgb("#1a1e34"),
    "R": hexrgb("#ff3a48"),
    "r": hexrgb("#901226"),
    "o": hexrgb("#ff7a20"),
    "y": hexrgb("#ffd040"),
    "h": hexrgb("#fff8d0"),
}


def stamp(img, pixels, ox, oy, scale=1, dim=1.0):
    for y, line in enumerate(pixels):
        for x, c in enumerate(line):
            if c is None:
                continue
            c = (c[0] * dim, c[1] * dim, c[2] * dim)
            for sy in range(scale):
                for sx in range(scale):
                    img.put(ox + x * scale + sx, oy + y * scale + sy, c)


def draw_glow(img, cx, cy, radius, tint, strength):
    for y in range(int(cy - radius), int(cy + radius) + 1):
        for x in range(int(cx - radius), int(cx + radius) + 1):
            d = math.hypot(x - cx, y - cy) / radius
            if d < 1:
                a = (1 - d) ** 2 * strength
                if a > bayer(x, y) * 0.25:
                    img.add(x, y, tint, a)


def draw_bolt(img, x, y, length, core, edge):
    for i in range(length):
        fade = 1.0 - i / float(length) * 0.5
        img.blend(x, y + i, core, fade)
        img.blend(x + 1, y + i, core, fade)
        img.blend(x - 1, y + i, edge, fade * 0.7)
        img.blend(x + 2, y + i, edge, fade * 0.7)
    img.blend(x, y - 1, edge, 0.8)
    img.blend(x + 1, y - 1, edge, 0.8)


def draw_explosion(img, cx, cy, r):
    rnd = random.Random(99)
    ramp = [hexrgb(c) for c in ("#000000", "#6a1010", "#c83010", "#ff7a1a", "#ffd040", "#fff8e0")]
    for y in range(cy - r, cy + r + 1):
        for x in range(cx - r, cx + r + 1):
            d = math.hypot(x - cx, y - cy) / r
            ang = math.atan2(y - cy, x - cx)
            # Ragged edge from a few sine lobes.
            edge = 0.75 + 0.18 * math.sin(ang * 5 + 1.0) + 0.1 * math.sin(ang * 9 + 2.3)
            if d < edge:
                t = 1.0 - d / edge
                img.put(x, y, dither_pick(ramp, min(1.0, 0.25 + t * 0.95), x, y))
    # Flying debris.
    for _ in range(14):
        ang = rnd.uniform(0, math.tau)
        dist = rnd.uniform(r * 0.9, r * 1.7)
        x = int(cx + math.cos(ang) * dist)
        y = int(cy + math.sin(ang) * dist)
        img.put(x, y, rnd.choice(ramp[3:]))
        if rnd.random() < 0.5:
            img.blend(x + 1, y, ramp[2], 0.8)


def draw_trail(img, cx, top, bottom, half_width):
    """Engine exhaust fading out towards the bottom edge."""
    ramp = [hexrgb(c) for c in ("#000000", "#401018", "#902818", "#e06020", "#ffb040", "#fff0b0")]
    for y in range(top, bottom):
        k = (y - top) / float(bottom - top)
        w = half_width * (1.0 - 0.6 * k)
        for x in range(int(cx - w) - 1, int(cx + w) + 2):
            d = abs(x + 0.5 - cx) / max(w, 0.5)
            if d < 1:
                t = (1.0 - d) * (1.0 - k) ** 1.3
                c = dither_pick(ramp, t, x, y)
                if c != ramp[0]:
                    img.blend(x, y, c, 0.9)


def make_title():
    img = Image(W, H)
    draw_background(img)
    draw_stars(img)
    draw_sparkle(img, 34, 36, 9, hexrgb("#fff4d8"), 12)
    draw_sparkle(img, 470, 150, 5, hexrgb("#b8d0ff"), 6)
    draw_sparkle(img, 140, 200, 4, hexrgb("#ffd8e8"), 5)
    draw_sparkle(img, 350, 330, 4, hexrgb("#d0e0ff"), 5)
    draw_moon(img, 30, 116, 13)
    draw_planet(img, 470, 450, 150)

    # The boss lurking top right, lit by its own core.
    boss = sprite_pixels(mirrored(BOSS_HALF, odd=False), BOSS_PALETTE,
                         shaded(BOSS_PALETTE, 0.75, keep="KRryoh"))
    draw_glow(img, 492, 48, 44, hexrgb("#ff5020"), 0.22)
    stamp(img, boss, 438, -3, scale=3)

    # Enemy formation marching over the planet; one just got hit.
    enemy = enemy_pixels()
    for row, (y, dim) in enumerate(((160, 1.0), (198, 0.8))):
        for col in range(3):
            x = 356 + col * 40 + (20 if row else 0)
            if (row, col) == (0, 1):
                draw_explosion(img, x + 15, y + 14, 13)
                continue
            stamp(img, enemy, x, y, dim=dim)
    draw_bolt(img, 430, 232, 8, hexrgb("#ffe0f0"), hexrgb("#ff3070"))

    # The player's ship climbing from the bottom left, guns blazing.
    sx, sy = 46, 250
    draw_trail(img, sx + 35, sy + 80, H, 7)
    draw_glow(img, sx + 35, sy + 78, 16, hexrgb("#ff8030"), 0.5)
    stamp(img, ship_pixels(), sx, sy, scale=2)
    for bx, by in ((sx + 3, sy - 34), (sx + 65, sy - 34), (sx + 3, sy - 80), (sx + 65, sy - 80)):
        draw_bolt(img, bx, by, 12, hexrgb("#e8ffff"), hexrgb("#30c0ff"))
    return img


# --------------------------------------------------------------------------

def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = argv[1] if len(argv) > 1 else os.path.dirname(here)
    for name, maker in (("ship.png", make_ship), ("enemy.png", make_enemy), ("title.png", make_title)):
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(png_bytes(maker()))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
