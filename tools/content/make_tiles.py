#!/usr/bin/python3
"""Board textures: terrain tiles 0..8 and the route-hint arrows 9..24.

Writes content/art/tex/tex_00.png .. tex_24.png (pack entries 2..26). Texture n is the board's
texture slot n; hint value 24 (destination 4 to the south) has no slot of its own and is taken
from the pack's 25th texture entry.

Tiles are seen from high above at roughly 28 screen pixels a cell, so they rely on broad shapes,
a clear cell edge and colour rather than fine detail. Image up is north, right is east, the way
the floor and hint quads are mapped. Every tile wraps seamlessly. Deterministic: the noise comes
from a fixed-seed generator, the PNGs carry no metadata.

Run from the repository root: /usr/bin/python3 tools/content/make_tiles.py
"""
import math
import os
import random
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import style  # noqa: E402

SIZE = 64          # every board texture is 64 x 64
SUPER = 4          # shapes are drawn at 4x and reduced, for clean edges
OUT_DIR = os.path.join("content", "art", "tex")

# The four destinations: one colour and one emblem each, shared by their floor tile and by
# every hint arrow that points toward them.
DESTINATIONS = {
    1: {"colour": (206, 58, 52), "dark": (96, 22, 22), "emblem": "circle"},
    2: {"colour": (54, 104, 210), "dark": (20, 36, 96), "emblem": "diamond"},
    3: {"colour": (232, 184, 44), "dark": (110, 76, 8), "emblem": "star"},
    4: {"colour": (150, 70, 196), "dark": (60, 20, 92), "emblem": "triangle"},
}

FLOOR = (214, 196, 160)
FLOOR_EDGE_LIGHT = (236, 224, 196)
FLOOR_EDGE_DARK = (142, 120, 90)
GRASS = (62, 104, 64)
BLOCK = (150, 148, 158)
WATER = (42, 104, 176)
SIDE = (116, 98, 82)
WHITE = (250, 248, 240)
OUTLINE = (24, 20, 24)


def clamp(v):
    return max(0, min(255, int(round(v))))


def shade(rgb, k):
    return tuple(clamp(c * k) for c in rgb)


def mix(a, b, t):
    return tuple(clamp(x + (y - x) * t) for x, y in zip(a, b))


def value_noise(rng, cells):
    """A wrapping value-noise field sampled at SIZE x SIZE, values 0..1."""
    grid = [[rng.random() for _ in range(cells)] for _ in range(cells)]
    out = []
    for y in range(SIZE):
        row = []
        fy = y * cells / SIZE
        y0 = int(fy)
        ty = fy - y0
        ty = ty * ty * (3 - 2 * ty)
        for x in range(SIZE):
            fx = x * cells / SIZE
            x0 = int(fx)
            tx = fx - x0
            tx = tx * tx * (3 - 2 * tx)
            a = grid[y0 % cells][x0 % cells]
            b = grid[y0 % cells][(x0 + 1) % cells]
            c = grid[(y0 + 1) % cells][x0 % cells]
            d = grid[(y0 + 1) % cells][(x0 + 1) % cells]
            top = a + (b - a) * tx
            bottom = c + (d - c) * tx
            row.append(top + (bottom - top) * ty)
        out.append(row)
    return out


def field_image(colour_at):
    img = Image.new("RGBA", (SIZE, SIZE))
    px = img.load()
    for y in range(SIZE):
        for x in range(SIZE):
            px[x, y] = colour_at(x, y) + (255,)
    return img


def slab(base, light, dark, seed, border=3):
    """A paving slab filling the cell: speckled face, lit north-west edge, shaded south-east
    edge, and a dark joint on the east and south sides so a row of cells reads as a grid."""
    rng = random.Random(seed)
    n1 = value_noise(rng, 8)
    n2 = value_noise(rng, 32)

    def at(x, y):
        v = 0.92 + 0.10 * n1[y][x] + 0.06 * n2[y][x]
        c = shade(base, v)
        if x >= SIZE - 2 or y >= SIZE - 2:
            return shade(dark, 0.8)
        if x < border or y < border:
            return mix(c, light, 0.65)
        if x >= SIZE - 2 - border or y >= SIZE - 2 - border:
            return mix(c, dark, 0.55)
        return c

    return field_image(at)


def star_points(cx, cy, r_out, r_in, n=5, rot=-90):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(rot + i * 180 / n)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def emblem_polygon(kind, cx, cy, r):
    """The emblem of a destination as a polygon (the circle as a 48-gon)."""
    if kind == "circle":
        return [(cx + r * math.cos(2 * math.pi * i / 48), cy + r * math.sin(2 * math.pi * i / 48))
                for i in range(48)]
    if kind == "diamond":
        return [(cx, cy - r * 1.1), (cx + r * 0.85, cy), (cx, cy + r * 1.1), (cx - r * 0.85, cy)]
    if kind == "star":
        return star_points(cx, cy, r * 1.15, r * 0.5)
    if kind == "triangle":
        return [(cx, cy - r * 1.05), (cx + r * 1.0, cy + r * 0.75), (cx - r * 1.0, cy + r * 0.75)]
    raise ValueError(kind)


def grow(poly, cx, cy, d):
    """The polygon pushed out from its centre by d (enough for convex and star shapes)."""
    out = []
    for x, y in poly:
        dx, dy = x - cx, y - cy
        n = math.hypot(dx, dy) or 1.0
        out.append((x + dx / n * d, y + dy / n * d))
    return out


def overlay(img, draw_fn):
    """Draws shapes at SUPER scale on a transparent layer and composites it, reduced, onto img."""
    big = Image.new("RGBA", (SIZE * SUPER, SIZE * SUPER), (0, 0, 0, 0))
    draw_fn(ImageDraw.Draw(big), SUPER)
    small = big.resize((SIZE, SIZE), Image.LANCZOS)
    return Image.alpha_composite(img, small)


def tile_floor():
    return slab(FLOOR, FLOOR_EDGE_LIGHT, FLOOR_EDGE_DARK, seed=100)


def tile_destination(n):
    d = DESTINATIONS[n]
    base = mix(FLOOR, d["colour"], 0.72)
    img = slab(base, mix(base, WHITE, 0.5), d["dark"], seed=100 + n)

    def emblem(draw, s):
        c = SIZE * s / 2 - s
        poly = emblem_polygon(d["emblem"], c, c, 17 * s)
        draw.polygon(grow(poly, c, c, 4 * s), fill=OUTLINE + (255,))
        draw.polygon(poly, fill=WHITE + (255,))
        inner = emblem_polygon(d["emblem"], c, c, 9 * s)
        draw.polygon(inner, fill=d["colour"] + (255,))

    return overlay(img, emblem)


def tile_wall_top():
    """The ground between corridors (and the fill of the whole board): calm grass."""
    rng = random.Random(200)
    n1 = value_noise(rng, 4)
    n2 = value_noise(rng, 16)
    tufts = [(rng.random() * SIZE, rng.random() * SIZE) for _ in range(14)]

    def at(x, y):
        v = 0.84 + 0.18 * n1[y][x] + 0.10 * n2[y][x]
        c = shade(GRASS, v)
        for tx, ty in tufts:
            dx = min(abs(x - tx), SIZE - abs(x - tx))
            dy = min(abs(y - ty), SIZE - abs(y - ty))
            if dx < 1.5 and dy < 2.5:
                return shade(GRASS, 0.62)
        return c

    return field_image(at)


def tile_raised_block():
    """The top of a raised stone block: a grey slab with a strong bevel and two cracks."""
    img = slab(BLOCK, (206, 206, 214), (74, 72, 84), seed=300, border=5)

    def marks(draw, s):
        col = (96, 94, 104, 255)
        draw.line([(14 * s, 18 * s), (24 * s, 26 * s), (22 * s, 36 * s)], fill=col, width=2 * s)
        draw.line([(44 * s, 40 * s), (36 * s, 46 * s), (38 * s, 52 * s)], fill=col, width=2 * s)
        draw.rectangle((27 * s, 27 * s, 35 * s, 35 * s), outline=col, width=2 * s)

    return overlay(img, marks)


def tile_water():
    """Water: deep blue with soft light crests; it wraps in both directions."""
    rng = random.Random(400)
    n1 = value_noise(rng, 4)

    def at(x, y):
        v = 0.86 + 0.2 * n1[y][x]
        u = 2 * math.pi * x / SIZE
        w = 2 * math.pi * y / SIZE
        crest = math.sin(4 * w + 1.5 * math.sin(2 * u) + 2 * math.pi * n1[y][x])
        c = shade(WATER, v)
        if crest > 0.82:
            return mix(c, (170, 210, 240), 0.6)
        if crest < -0.9:
            return shade(c, 0.85)
        return c

    return field_image(at)


def tile_side_face():
    """Side faces of raised cells and banks: courses of dressed stone. Its rows are laid so the
    texture also reads when a face stretches it over a tall wall."""
    rng = random.Random(500)
    n1 = value_noise(rng, 16)
    rows = 4
    h = SIZE // rows

    def at(x, y):
        r = y // h
        off = (r % 2) * (SIZE // 4)
        v = 0.9 + 0.16 * n1[y][x]
        c = shade(SIDE, v - 0.04 * r)
        if y % h >= h - 2:
            return (58, 48, 42)
        if (x + off) % (SIZE // 2) >= SIZE // 2 - 2:
            return (58, 48, 42)
        if y % h < 2:
            return mix(c, (170, 150, 130), 0.5)
        return c

    return field_image(at)


def arrow_polygon(s):
    """An arrow pointing east (right), in SUPER-scaled texels, with room for the emblem in its
    shaft."""
    m = SIZE * s / 2
    return [(4 * s, m - 13 * s), (34 * s, m - 13 * s), (34 * s, m - 27 * s), (61 * s, m),
            (34 * s, m + 27 * s), (34 * s, m + 13 * s), (4 * s, m + 13 * s)]


def hint_texture(dest, direction):
    """Route hint: an arrow in the destination's colour with its emblem, pointing in
    direction 0 east, 1 north, 2 west, 3 south. Outside the arrow is the colour key."""
    d = DESTINATIONS[dest]
    big = Image.new("RGBA", (SIZE * SUPER, SIZE * SUPER), (0, 0, 0, 0))
    draw = ImageDraw.Draw(big)
    s = SUPER
    poly = arrow_polygon(s)
    cx, cy = 30 * s, SIZE * s / 2
    draw.polygon(grow(poly, cx, cy, 3 * s), fill=OUTLINE + (255,))
    draw.polygon(poly, fill=d["colour"] + (255,))
    hi = mix(d["colour"], WHITE, 0.45)
    draw.line([(6 * s, cy - 11 * s), (34 * s, cy - 11 * s), (34 * s, cy - 24 * s),
               (58 * s, cy - 1 * s)], fill=hi + (255,), width=2 * s)
    # North is up in the image: a quarter turn counter-clockwise per direction step. The emblem
    # is laid on afterwards, upright, in the turned shaft.
    big = big.rotate(90 * direction, resample=Image.NEAREST)
    draw = ImageDraw.Draw(big)
    a = math.radians(90 * direction)
    half = SIZE * s / 2
    ex = half + (19 * s - half) * math.cos(a)
    ey = half - (19 * s - half) * math.sin(a)
    em = emblem_polygon(d["emblem"], ex, ey, 9 * s)
    draw.polygon(grow(em, ex, ey, 2 * s), fill=OUTLINE + (255,))
    draw.polygon(em, fill=WHITE + (255,))
    small = big.resize((SIZE, SIZE), Image.LANCZOS)
    # The loader keys out opaque pure green; edges are cut hard at half coverage.
    out = Image.new("RGBA", (SIZE, SIZE))
    src = small.load()
    dst = out.load()
    for y in range(SIZE):
        for x in range(SIZE):
            r, g, b, a = src[x, y]
            if a < 128:
                dst[x, y] = style.KEY
            else:
                dst[x, y] = (r, g, b, 255)
                if dst[x, y][:3] == style.KEY[:3]:
                    dst[x, y] = (0, 254, 0, 255)
    return out


def textures():
    """All 25 board textures in slot order."""
    out = [tile_floor()]
    out += [tile_destination(n) for n in (1, 2, 3, 4)]
    out += [tile_wall_top(), tile_raised_block(), tile_water(), tile_side_face()]
    # Hint value 4 * destination + direction + 5 names texture 9..24.
    for dest in (1, 2, 3, 4):
        for direction in range(4):
            out.append(hint_texture(dest, direction))
    assert len(out) == 25
    return out


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    for i, img in enumerate(textures()):
        style.save_png(img, os.path.join(OUT_DIR, "tex_%02d.png" % i))


if __name__ == "__main__":
    main()
