#!/usr/bin/python3
"""The game's 25 models as X files, with the textures their materials name.

Writes content/meshes/mesh_00.x .. mesh_24.x (pack entries 90..114), their material textures
content/meshes/tex/*.png, and the material-texture lines 27..89 of content/pack.manifest:
material textures are handed out from entry 27 on in the order in which meshes 0..24 and their
materials name them.

Meshes 0..11 are the three characters' four members each, 12..23 the battle opponents, 24 the
thrown prop; who they are comes from content/art/roster.tsv (ids, looks and colours), so that
the meshes agree with the faces and cards of the atlas. Figures stand on y = 0 and face -z.
Members stand on a round base in their party's colour: a board piece that tells the three
parties apart from above, and deep enough for the battle stage's reach test.

Deterministic: the same script gives the same bytes. Run from the repository root:
/usr/bin/python3 tools/content/make_meshes.py
"""
import math
import os
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import meshgen as mg  # noqa: E402
import style  # noqa: E402
from meshgen import box, cylinder, ellipsoid, limb, squircle_ring  # noqa: E402

MESH_DIR = os.path.join("content", "meshes")
TEX_DIR = os.path.join(MESH_DIR, "tex")
MANIFEST = os.path.join("content", "pack.manifest")
ROSTER = os.path.join("content", "art", "roster.tsv")
FIRST_MESH_TEXTURE_ENTRY = 27
FIRST_MESH_ENTRY = 90
MESH_COUNT = 25
FACE_TEX = 64
SUPER = 4
MEMBER_HEIGHT = (1.5, 2.0)


def hx(code):
    return (int(code[0:2], 16), int(code[2:4], 16), int(code[4:6], 16))


# Colours shared by all models.
COMMON = {
    "skin": hx("f5cba7"), "white": hx("f4f2ec"), "black": hx("1e1c22"), "eye_white": hx("fafafa"),
    "steel": hx("c8ccd8"), "iron": hx("646a76"), "gold": hx("f1c40f"), "wood": hx("88603a"),
    "leather": hx("6e4b3a"), "bone": hx("ecf0e1"), "grey": hx("80808a"), "dark": hx("2c2a30"),
}

# The parties' colours, worn by their members' bases: the knight's red, the witch's purple,
# the hunter's green.
PARTY_BASE = {0: hx("c0392b"), 1: hx("8e44ad"), 2: hx("1e8449")}

FRONT_LEVEL = mg.LEVELS[mg.level_of((0.0, 0.0, -1.0))]


def palette(extra=None):
    p = dict(COMMON)
    for k, v in (extra or {}).items():
        p[k] = hx(v) if isinstance(v, str) else v
    return p


def read_roster():
    """Rows 0..23 of the roster: row -> (group, member, id)."""
    rows = {}
    with open(ROSTER, encoding="utf-8") as fh:
        for line in fh:
            if line.startswith("#") or line.startswith("row\t") or not line.strip():
                continue
            f = line.rstrip("\n").split("\t")
            if f[0].isdigit():
                rows[int(f[0])] = (f[1], f[2], f[3])
    return rows


# ---- face textures ------------------------------------------------------------------------

def lit(rgb):
    """A colour as a front-facing surface shows it, so that painted faces meet their heads."""
    return tuple(int(round(c * FRONT_LEVEL)) for c in rgb) + (255,)


def face_texture(f):
    """A face painted for the front of a head: skin, fringe, eyes, brows, mouth and marks.
    The hair cap hides the top fifth of it."""
    s = SUPER
    n = FACE_TEX * s
    img = Image.new("RGBA", (n, n), lit(f["skin"]))
    d = ImageDraw.Draw(img)
    hair = lit(f["hair"]) if f.get("hair") else None
    eye = lit(f.get("eyes", (60, 40, 30)))
    ink = lit((40, 28, 24))
    cx = n / 2
    ey = n * 0.52
    dx = n * 0.2
    if f.get("stubble"):
        d.rectangle((0, n * 0.68, n, n), fill=lit(tuple(int(c * 0.82) for c in f["skin"])))
    style_ = f.get("eye_style", "round")
    for side in (-1, 1):
        x = cx + side * dx
        if style_ == "round":
            d.ellipse((x - 6 * s, ey - 8 * s, x + 6 * s, ey + 8 * s), fill=lit((250, 250, 250)))
            d.ellipse((x - 4.5 * s, ey - 6 * s, x + 4.5 * s, ey + 7 * s), fill=eye)
            d.ellipse((x - 2 * s, ey - 2 * s, x + 2 * s, ey + 3 * s), fill=ink)
            d.ellipse((x - 3 * s, ey - 5 * s, x - 0.5 * s, ey - 2 * s), fill=lit((255, 255, 255)))
        elif style_ == "narrow":
            d.polygon([(x - 7 * s, ey), (x + 7 * s, ey - 2 * s), (x + 6 * s, ey + 3 * s),
                       (x - 6 * s, ey + 3 * s)], fill=lit((250, 250, 250)))
            d.ellipse((x - 3 * s, ey - 2 * s, x + 3 * s, ey + 3.5 * s), fill=eye)
        elif style_ == "smile":
            d.arc((x - 6 * s, ey - 4 * s, x + 6 * s, ey + 6 * s), 200, 340, fill=ink, width=3 * s)
        elif style_ == "fierce":
            d.polygon([(x - 7 * s, ey + 3 * s * side), (x + 7 * s, ey - 3 * s * side),
                       (x + 6 * s, ey + 6 * s), (x - 6 * s, ey + 6 * s)],
                      fill=lit((250, 250, 250)))
            d.ellipse((x - 3 * s, ey - 1 * s, x + 3 * s, ey + 5 * s), fill=eye)
        elif style_ == "glow":
            d.ellipse((x - 8 * s, ey - 9 * s, x + 8 * s, ey + 9 * s), fill=lit((20, 16, 24)))
            d.ellipse((x - 4 * s, ey - 4 * s, x + 4 * s, ey + 4 * s), fill=eye)
        # Brows.
        if style_ != "glow":
            by = ey - 12 * s
            tilt = {"fierce": 4, "kind": -2}.get(f.get("brows", ""), 0) * s * side
            d.line([(x - 6 * s, by + tilt * 0.5), (x + 6 * s, by - tilt * 0.5)],
                   fill=hair if hair else ink, width=3 * s)
        if f.get("blush"):
            d.ellipse((x + side * 3 * s - 5 * s, ey + 9 * s, x + side * 3 * s + 5 * s,
                       ey + 13 * s), fill=lit((240, 150, 150)))
    if f.get("glasses"):
        for side in (-1, 1):
            x = cx + side * dx
            d.ellipse((x - 9 * s, ey - 10 * s, x + 9 * s, ey + 10 * s), outline=ink, width=2 * s)
        d.line([(cx - dx + 9 * s, ey), (cx + dx - 9 * s, ey)], fill=ink, width=2 * s)
    # Mouth.
    my = n * 0.8
    mouth = f.get("mouth", "smile")
    if mouth == "smile":
        d.arc((cx - 7 * s, my - 6 * s, cx + 7 * s, my + 4 * s), 20, 160, fill=ink, width=2 * s)
    elif mouth == "open":
        d.chord((cx - 6 * s, my - 4 * s, cx + 6 * s, my + 6 * s), 0, 180, fill=lit((150, 50, 50)))
    elif mouth == "flat":
        d.line([(cx - 5 * s, my), (cx + 5 * s, my)], fill=ink, width=2 * s)
    elif mouth in ("grin", "fangs", "teeth"):
        d.chord((cx - 9 * s, my - 5 * s, cx + 9 * s, my + 6 * s), 0, 180,
                fill=lit((250, 250, 250)) if mouth != "fangs" else lit((90, 30, 30)))
        if mouth == "fangs":
            for side in (-1, 1):
                x = cx + side * 5 * s
                d.polygon([(x - 2 * s, my), (x + 2 * s, my), (x, my + 5 * s)],
                          fill=lit((250, 250, 250)))
        if mouth == "teeth":
            for k in range(6):
                x = cx - 8 * s + k * 3 * s
                d.line([(x, my), (x, my + 5 * s)], fill=ink, width=s)
        d.arc((cx - 9 * s, my - 5 * s, cx + 9 * s, my + 6 * s), 0, 180, fill=ink, width=2 * s)
    if f.get("skull_nose"):
        d.polygon([(cx, n * 0.64), (cx + 4 * s, n * 0.71), (cx - 4 * s, n * 0.71)],
                  fill=lit((30, 20, 20)))
    # Fringe over the forehead.
    fringe = f.get("fringe", "straight")
    if hair and fringe != "none":
        base = n * 0.3
        if fringe == "straight":
            pts = [(0, 0), (n, 0), (n, base)]
            for i in range(6, -1, -1):
                pts.append((n * i / 6, base + (5 * s if i % 2 else -2 * s)))
        elif fringe == "side":
            pts = [(0, 0), (n, 0), (n, base * 0.9), (n * 0.35, base * 1.2), (0, base * 0.7)]
        elif fringe == "spiky":
            pts = [(0, 0), (n, 0), (n, base)]
            for i in range(8, -1, -1):
                pts.append((n * i / 8, base + (8 * s if i % 2 else -6 * s)))
        elif fringe == "parted":
            pts = [(0, 0), (n, 0), (n, base * 1.3), (n * 0.55, base * 0.6), (n * 0.45, base * 0.6),
                   (0, base * 1.3)]
        else:
            raise ValueError(fringe)
        d.polygon(pts, fill=hair)
    return img.resize((FACE_TEX, FACE_TEX), Image.LANCZOS)


# ---- humanoid figures ---------------------------------------------------------------------

def base_disc(b, oval=1.0):
    cylinder(b, "base", 0.0, 0.07, 0.5, 0.47, n=10, rz0=0.5 * oval, rz1=0.47 * oval)
    cylinder(b, "base_top", 0.07, 0.085, 0.42, 0.40, n=10, rz0=0.42 * oval, rz1=0.4 * oval,
             caps=(False, True))


def head(b, face_tex, top_y, skin):
    """A head: a box with cut corners whose front face carries the face texture. Returns the
    head's measures for the hair: (bottom, top, half width, half depth)."""
    y0, y1 = top_y - 0.48, top_y
    hw, hd, c = 0.235, 0.215, 0.075
    rings = [squircle_ring(y0, hw - 0.04, hd - 0.04, c - 0.02),
             squircle_ring(y0 + 0.05, hw, hd, c),
             squircle_ring(y1 - 0.06, hw, hd, c),
             squircle_ring(y1, hw - 0.05, hd - 0.05, c - 0.025)]
    faces, keys, uvs = [], [], []
    for r in range(3):
        lo, hi = rings[r], rings[r + 1]
        for s_ in range(8):
            t = (s_ + 1) % 8
            faces.append([lo[s_], lo[t], hi[t], hi[s_]])
            # Segment 0 of the middle band is the flat front of the face.
            if r == 1 and s_ == 0 and face_tex:
                keys.append(("tex", face_tex))
                uvs.append([(0.0, 1.0), (1.0, 1.0), (1.0, 0.0), (0.0, 0.0)])
            else:
                keys.append(skin)
                uvs.append(None)
    for cap in (rings[0], rings[-1]):
        faces.append(list(cap))
        keys.append(skin)
        uvs.append(None)
    b.solid(faces, lambda i, f: keys[i], uv_faces=uvs)
    return y0, y1, hw, hd


def hair_cap(b, y_from, y_top, hw, hd, back_to, long_sides=False, colour="hair"):
    """Hair over the crown and the back of the head, clear of the face below y_from."""
    g = 0.025
    b.loft([squircle_ring(y_from, hw + g, hd + g, 0.09),
            squircle_ring(y_top - 0.05, hw + g, hd + g, 0.09),
            squircle_ring(y_top + 0.03, hw - 0.04, hd - 0.04, 0.06)], colour)
    z0 = -0.02 if not long_sides else -hd * 0.55
    box(b, colour, (-hw - g, back_to, z0), (hw + g, y_from + 0.02, hd + g + 0.01))


def hair(b, figure, y0, y1, hw, hd):
    style_ = figure.get("hair_style", "short")
    cap_from = y1 - 0.16
    if style_ == "bald":
        return
    if style_ == "short":
        hair_cap(b, cap_from, y1, hw, hd, y0 + 0.12)
    elif style_ == "spiky":
        hair_cap(b, cap_from, y1, hw, hd, y0 + 0.12)
        for x, z, lean in ((-0.14, -0.05, -25), (0.0, -0.09, 0), (0.14, -0.05, 25),
                           (-0.09, 0.12, -20), (0.09, 0.12, 20), (0.0, 0.06, 0)):
            xf = mg.move(x, y1 - 0.01, z) * mg.rot_z(-lean) * mg.rot_x(-18 if z < 0 else 25)
            cylinder(b, "hair", 0.0, 0.2, 0.08, 0.0, n=4, xf=xf)
    elif style_ == "long":
        hair_cap(b, cap_from, y1, hw, hd, figure.get("hair_to", 0.82), long_sides=True)
    elif style_ == "tied":
        hair_cap(b, cap_from, y1, hw, hd, y0 + 0.12)
        limb(b, "hair", (0.0, y1 - 0.14, hd + 0.02), (0.0, y1 - 0.62, hd + 0.16), 0.08, 0.04, n=5)
        cylinder(b, "hair_tie", -0.03, 0.03, 0.06, 0.06, n=5,
                 xf=mg.move(0.0, y1 - 0.16, hd + 0.04) * mg.rot_x(75))
    elif style_ == "twin":
        hair_cap(b, cap_from, y1, hw, hd, y0 + 0.12)
        for side in (-1, 1):
            ellipsoid(b, "hair", (side * (hw + 0.08), y1 - 0.3, 0.05), (0.07, 0.24, 0.07), n=6,
                      stacks=4)
    else:
        raise ValueError(style_)


def hood(b, y0, y1, hw, hd, colour, rim):
    g = 0.05
    rings = [squircle_ring(y0 - 0.06, hw + g + 0.05, hd + g, 0.1),
             squircle_ring(y1 - 0.02, hw + g, hd + g, 0.1),
             squircle_ring(y1 + 0.08, hw - 0.04, hd - 0.02, 0.06, cz=0.04)]
    faces, keys = [], []
    for r in range(2):
        lo, hi = rings[r], rings[r + 1]
        for s_ in range(8):
            t = (s_ + 1) % 8
            faces.append([lo[s_], lo[t], hi[t], hi[s_]])
            # Open in front of the face.
            keys.append(None if (s_ == 0 and r == 0) else colour)
    faces.append(list(rings[-1]))
    keys.append(colour)
    b.solid(faces, lambda i, f: keys[i])
    box(b, rim, (-hw - g - 0.02, y1 - 0.07, -hd - g - 0.015), (hw + g + 0.02, y1 - 0.01, -hd - g + 0.03))


def dome(b, y1, hw, hd, colour, low=0.2):
    b.loft([squircle_ring(y1 - low, hw + 0.04, hd + 0.04, 0.1),
            squircle_ring(y1 + 0.02, hw + 0.04, hd + 0.04, 0.1),
            squircle_ring(y1 + 0.09, hw - 0.06, hd - 0.06, 0.05)], colour)


def hat(b, figure, y0, y1, hw, hd):
    kind = figure.get("hat")
    if not kind:
        return
    if kind == "witch":
        cylinder(b, "hat", y1 - 0.06, y1 - 0.03, 0.46, 0.46, n=12)
        cylinder(b, "hat_band", y1 - 0.03, y1 + 0.03, 0.25, 0.24, n=8)
        xf = mg.move(0.0, y1 + 0.03, 0.02) * mg.rot_x(14)
        cylinder(b, "hat", 0.0, figure.get("hat_height", 0.36), 0.24, 0.0, n=8, xf=xf)
    elif kind == "horned":
        dome(b, y1, hw, hd, "hat", 0.17)
        box(b, "hat", (-hw - 0.05, y1 - 0.2, -hd - 0.05), (hw + 0.05, y1 - 0.15, hd + 0.05))
        for side in (-1, 1):
            xf = mg.move(side * (hw + 0.02), y1 - 0.04, 0.0) * mg.rot_z(-side * 55)
            cylinder(b, "horn", 0.0, 0.3, 0.065, 0.0, n=5, xf=xf)
    elif kind == "hood":
        hood(b, y0, y1, hw, hd, "hat", "hat_band")
    elif kind == "bandana":
        dome(b, y1, hw, hd, "hat", 0.12)
        ellipsoid(b, "hat", (0.0, y1 - 0.08, hd + 0.06), (0.07, 0.06, 0.05), n=5, stacks=3)
        for side in (-1, 1):
            xf = mg.move(side * 0.03, y1 - 0.08, hd + 0.06) * mg.rot_z(side * 30) * mg.rot_x(160)
            box(b, "hat", (-0.035, 0.0, -0.01), (0.035, 0.22, 0.01), xf)
    elif kind == "cap":
        ellipsoid(b, "hat", (0.0, y1 - 0.02, 0.02), (hw + 0.05, 0.12, hd + 0.05), n=8, stacks=4,
                  squash_bottom=0.3)
        box(b, "hat", (-0.15, y1 - 0.07, -hd - 0.17), (0.15, y1 - 0.04, -hd + 0.02))
        ellipsoid(b, "hat_band", (0.0, y1 + 0.1, 0.02), (0.04, 0.04, 0.04), n=4, stacks=3)
    elif kind in ("crown", "crystal_crown", "spike_crown"):
        tall = {"crown": 0.1, "crystal_crown": 0.2, "spike_crown": 0.24}[kind]
        if kind == "spike_crown":
            dome(b, y1, hw, hd, "hat", 0.22)
            box(b, "hat", (-hw - 0.04, y0 + 0.05, -0.02), (hw + 0.04, y1 - 0.18, hd + 0.045))
        base_y = y1 + (0.04 if kind == "spike_crown" else -0.02)
        cylinder(b, "hat_band", base_y, base_y + 0.06, 0.2, 0.2, n=8)
        for i in range(6):
            a = math.radians(-90 + i * 60)
            x, z = 0.19 * math.cos(a), 0.19 * math.sin(a)
            h = tall * (1.4 if i == 0 else 1.0)
            cylinder(b, "crown_point", 0.0, h, 0.045, 0.0, n=4, xf=mg.move(x, base_y + 0.06, z))
    else:
        raise ValueError(kind)


def staff_top(b, kind, x, y, z):
    if kind == "orb":
        ellipsoid(b, "gem", (x, y + 0.08, z), (0.09, 0.09, 0.09), n=6, stacks=4)
        cylinder(b, "gold", y - 0.05, y + 0.01, 0.06, 0.05, n=5, xf=mg.move(x, 0.0, z))
    elif kind == "ring":
        cx, cy = x, y + 0.16
        pts = [(cx + 0.15 * math.cos(math.radians(a)), cy + 0.17 * math.sin(math.radians(a)), z)
               for a in range(-90, 270, 45)]
        for i in range(8):
            limb(b, "gold", pts[i], pts[(i + 1) % 8], 0.025, 0.025, n=4)
        ellipsoid(b, "gem", (cx, cy, z), (0.05, 0.05, 0.05), n=5, stacks=3)
    elif kind == "skull":
        ellipsoid(b, "bone", (x, y + 0.1, z), (0.1, 0.1, 0.1), n=6, stacks=4)
        for side in (-1, 1):
            ellipsoid(b, "gem", (x + side * 0.04, y + 0.11, z - 0.085), (0.025, 0.03, 0.02), n=4,
                      stacks=3)
    elif kind == "crook":
        limb(b, "staff", (x, y - 0.05, z), (x - 0.06, y + 0.12, z), 0.03, 0.03, n=4)
        limb(b, "staff", (x - 0.06, y + 0.12, z), (x - 0.18, y + 0.14, z), 0.03, 0.025, n=4)
        ellipsoid(b, "gem", (x - 0.2, y + 0.08, z), (0.06, 0.06, 0.06), n=5, stacks=3)
    else:
        raise ValueError(kind)


def weapon(b, kind, hand, top="orb"):
    hxp, hy, hz = hand
    if not kind:
        return
    if kind == "staff":
        cylinder(b, "staff", 0.09, 1.55, 0.03, 0.03, n=5, xf=mg.move(hxp, 0.0, hz))
        staff_top(b, top, hxp, 1.55, hz)
    elif kind == "star_wand":
        limb(b, "staff", (hxp, hy - 0.05, hz), (hxp + 0.02, hy + 0.35, hz - 0.1), 0.02, 0.018, n=4)
        pts = []
        for i in range(10):
            r = 0.12 if i % 2 == 0 else 0.05
            a = math.radians(90 + 36 * i)
            pts.append((r * math.cos(a), r * math.sin(a)))
        xf = mg.move(hxp + 0.025, hy + 0.45, hz - 0.12)
        centre = (0.0, 0.0)
        for i in range(10):
            p, q = pts[i], pts[(i + 1) % 10]
            b.solid([[(centre[0], centre[1], -0.03), (p[0], p[1], 0.0), (q[0], q[1], 0.0)],
                     [(centre[0], centre[1], 0.03), (p[0], p[1], 0.0), (q[0], q[1], 0.0)]],
                    "star", xf, centre=xf.apply((0.0, 0.0, 0.0)))
    elif kind in ("sword", "long_sword"):
        blade = 0.6 if kind == "sword" else 0.85
        xf = mg.move(hxp, hy, hz)
        box(b, "grip", (-0.025, -0.08, -0.025), (0.025, 0.08, 0.025), xf)
        box(b, "guard", (-0.1, 0.08, -0.035), (0.1, 0.12, 0.035), xf)
        box(b, "steel", (-0.035, 0.12, -0.012), (0.035, 0.12 + blade, 0.012), xf)
        cylinder(b, "steel", 0.12 + blade, 0.2 + blade, 0.035, 0.0, n=4, xf=xf, rz0=0.012)
    elif kind == "axe":
        xf = mg.move(hxp, hy, hz)
        cylinder(b, "staff", -0.15, 0.5, 0.03, 0.03, n=5, xf=xf)
        b.loft([[(0.02, 0.3, -0.02), (0.02, 0.5, -0.02), (0.02, 0.5, 0.02), (0.02, 0.3, 0.02)],
                [(0.24, 0.22, -0.012), (0.24, 0.58, -0.012), (0.24, 0.58, 0.012),
                 (0.24, 0.22, 0.012)]], "steel", xf)
    elif kind == "spear":
        cylinder(b, "staff", 0.09, 1.5, 0.025, 0.025, n=5, xf=mg.move(hxp, 0.0, hz))
        cylinder(b, "steel", 1.5, 1.8, 0.06, 0.0, n=4, xf=mg.move(hxp, 0.0, hz), rz0=0.015)
    elif kind == "hammer":
        xf = mg.move(hxp, hy, hz)
        cylinder(b, "staff", -0.2, 0.75, 0.035, 0.035, n=5, xf=xf)
        box(b, "hammer_head", (-0.16, 0.62, -0.12), (0.16, 0.86, 0.12), xf)
    elif kind == "club":
        xf = mg.move(hxp, hy, hz) * mg.rot_x(-20)
        cylinder(b, "club", -0.1, 0.85, 0.04, 0.11, n=6, xf=xf)
        for k in range(3):
            a = k * 120
            p = mg.rot_y(a).apply((0.11, 0.0, 0.0))
            cylinder(b, "steel", 0.0, 0.07, 0.035, 0.0, n=4,
                     xf=xf * mg.move(p[0], 0.6 + 0.1 * k, p[2]) * mg.rot_z(-90) * mg.rot_x(a))
    elif kind == "book":
        xf = mg.move(hxp - 0.02, hy + 0.12, hz - 0.1) * mg.rot_x(-30)
        box(b, "book", (-0.13, -0.09, -0.03), (0.13, 0.09, 0.03), xf)
        box(b, "white", (-0.12, -0.085, -0.035), (0.12, 0.085, 0.035), xf * mg.move(0.005, 0, 0))
    elif kind == "dagger":
        xf = mg.move(hxp, hy, hz)
        box(b, "grip", (-0.02, -0.06, -0.02), (0.02, 0.06, 0.02), xf)
        box(b, "guard", (-0.06, 0.06, -0.025), (0.06, 0.09, 0.025), xf)
        cylinder(b, "steel", 0.09, 0.36, 0.03, 0.0, n=4, xf=xf, rz0=0.01)
    elif kind == "fist":
        ellipsoid(b, "skin", hand, (0.1, 0.09, 0.1), n=6, stacks=4)
    else:
        raise ValueError(kind)


def longbow(b, hand):
    """A tall bow held upright in the left hand, its string toward the body."""
    x, y, z = hand
    pts = []
    for i in range(7):
        a = math.radians(-70 + 140 * i / 6)
        pts.append((x - 0.02, y + 0.72 * math.sin(a), z - 0.18 * math.cos(a) + 0.06))
    for i in range(6):
        limb(b, "bow", pts[i], pts[i + 1], 0.028, 0.028, n=4)
    limb(b, "string", pts[0], pts[-1], 0.008, 0.008, n=3)


def wings(b, colour, veins):
    """Four dragonfly wings behind the shoulders."""
    for side in (-1, 1):
        for k, (rise, length, width) in enumerate(((32, 0.62, 0.16), (-12, 0.5, 0.13))):
            xf = (mg.move(side * 0.08, 0.98 - 0.08 * k, 0.2) * mg.rot_y(-side * 18)
                  * mg.rot_z(side * rise))
            pts = []
            for i in range(8):
                a = 2 * math.pi * i / 8
                pts.append((side * (length / 2 + length / 2 * math.cos(a)),
                            width * math.sin(a), 0.0))
            top = [(p[0], p[1], -0.006) for p in pts]
            bottom = [(p[0], p[1], 0.006) for p in pts]
            b.loft([top, bottom], colour, xf)
            limb(b, veins, xf.apply((0.0, 0.0, -0.008)), xf.apply((side * length, 0.0, -0.008)),
                 0.01, 0.006, n=3)


def head_extras(b, figure, y0, y1, hw, hd):
    kind = figure.get("head_kind", "human")
    skin = figure.get("skin", "skin")
    if kind == "bear":
        for side in (-1, 1):
            ellipsoid(b, skin, (side * 0.19, y1 - 0.01, 0.03), (0.085, 0.085, 0.05), n=6, stacks=4)
            ellipsoid(b, "muzzle", (side * 0.19, y1 - 0.01, -0.015), (0.05, 0.05, 0.02), n=5,
                      stacks=3)
        box(b, "muzzle", (-0.12, y0 + 0.04, -hd - 0.12), (0.12, y0 + 0.2, -hd + 0.02))
        ellipsoid(b, "black", (0.0, y0 + 0.17, -hd - 0.12), (0.05, 0.035, 0.03), n=5, stacks=3)
    elif kind in ("goblin", "troll", "orc"):
        if kind != "orc":
            for side in (-1, 1):
                length = 0.32 if kind == "goblin" else 0.18
                xf = mg.move(side * (hw - 0.02), y0 + 0.3, 0.02) * mg.rot_z(-side * 78)
                cylinder(b, skin, 0.0, length, 0.08, 0.0, n=4, xf=xf, rz0=0.03)
        if kind == "troll":
            cylinder(b, skin, 0.0, 0.24, 0.07, 0.02, n=5,
                     xf=mg.move(0.0, y0 + 0.25, -hd + 0.02) * mg.rot_x(-100))
        if kind in ("orc", "troll"):
            for side in (-1, 1):
                cylinder(b, "tusk", 0.0, 0.12, 0.03, 0.0, n=4,
                         xf=mg.move(side * 0.09, y0 + 0.08, -hd - 0.02) * mg.rot_z(side * 10))


def humanoid_body(figure, face_tex):
    """A figure standing on y = 0 without a base, at the standard size (head top 1.6)."""
    b = mg.Builder(palette(figure["colours"]))
    skin = figure.get("skin", "skin")
    outfit = figure.get("outfit", "tunic")
    wide = figure.get("build", 1.0)
    if outfit in ("tunic", "armour", "vest", "coat", "fur"):
        for side in (-1, 1):
            cylinder(b, "legs", 0.05, 0.6, 0.085 * wide, 0.095 * wide, n=6,
                     xf=mg.move(side * 0.1 * wide, 0, 0))
    for side in (-1, 1):
        box(b, "shoes", (side * 0.1 * wide - 0.075, 0.0, -0.16), (side * 0.1 * wide + 0.075, 0.09, 0.07))
    if outfit in ("robe", "dress"):
        r0 = {"robe": 0.3, "dress": 0.36}[outfit]
        cylinder(b, "bottom", 0.03, 0.72, r0, 0.2, n=8, rz0=r0 * 0.85, rz1=0.15)
    elif outfit == "coat":
        cylinder(b, "bottom", 0.22, 0.72, 0.28 * wide, 0.21 * wide, n=8, rz0=0.22, rz1=0.15,
                 caps=(True, False))
    elif outfit == "fur":
        cylinder(b, "bottom", 0.34, 0.68, 0.27 * wide, 0.21 * wide, n=7, rz0=0.2, rz1=0.16)
    rings = [squircle_ring(0.56, 0.19 * wide, 0.13, 0.05),
             squircle_ring(0.80, 0.20 * wide, 0.135, 0.05),
             squircle_ring(0.98, 0.235 * wide, 0.155, 0.06),
             squircle_ring(1.07, 0.17 * wide, 0.12, 0.05)]
    b.loft(rings, "top")
    cylinder(b, "trim", 0.6, 0.67, 0.2 * wide + 0.02, 0.205 * wide + 0.02, n=8, rz0=0.15, rz1=0.15)
    if outfit == "armour":
        b.loft([squircle_ring(0.7, 0.215 * wide, 0.15, 0.05),
                squircle_ring(0.99, 0.25 * wide, 0.17, 0.06),
                squircle_ring(1.05, 0.2 * wide, 0.14, 0.05)], "armour")
        for side in (-1, 1):
            ellipsoid(b, "armour", (side * 0.27 * wide, 1.02, 0.0), (0.11, 0.08, 0.11), n=6,
                      stacks=3)
    elif outfit == "vest":
        b.loft([squircle_ring(0.64, 0.215 * wide, 0.15, 0.05),
                squircle_ring(1.0, 0.245 * wide, 0.165, 0.06)], "vest", caps=(True, False))
    if figure.get("moss"):
        for side in (-1, 1):
            ellipsoid(b, "moss", (side * 0.24 * wide, 1.07, 0.0), (0.13, 0.07, 0.13), n=6, stacks=3)
    if figure.get("cape"):
        b.loft([[(-0.26, 0.12, 0.18), (0.26, 0.12, 0.18), (0.26, 0.12, 0.22), (-0.26, 0.12, 0.22)],
                [(-0.2, 1.06, 0.13), (0.2, 1.06, 0.13), (0.2, 1.06, 0.17), (-0.2, 1.06, 0.17)]],
               "cape")
    if figure.get("sheath"):
        xf = mg.move(-0.24 * wide, 0.62, -0.02) * mg.rot_z(-25)
        box(b, "grip", (-0.02, 0.0, -0.02), (0.02, 0.14, 0.02), xf)
        box(b, "guard", (-0.07, -0.03, -0.03), (0.07, 0.0, 0.03), xf)
        box(b, "sheath", (-0.035, -0.5, -0.02), (0.035, -0.03, 0.02), xf)
    # Arms; the right hand (+x) carries the weapon, the left the shield or bow.
    sx = 0.27 * wide
    hands = {}
    arm = figure.get("arm", 0.07)
    for side in (-1, 1):
        shoulder = (side * sx, 1.0, 0.0)
        pose = figure.get("pose", "down")
        if pose == "hold" and side == 1:
            hand = (side * (sx + 0.04), 0.74, -0.2)
        elif pose == "brute":
            hand = (side * (sx + 0.1), 0.5, -0.06)
        else:
            hand = (side * (sx + 0.05), 0.64, -0.02)
        limb(b, "sleeve", shoulder, hand, arm, arm * 0.85, n=5)
        ellipsoid(b, skin, hand, (arm * 0.9, arm * 0.9, arm * 0.9), n=5, stacks=3)
        hands[side] = hand
    if figure.get("shield"):
        hxp, hy, hz = hands[-1]
        xf = mg.move(hxp - 0.04, hy + 0.12, hz - 0.1) * mg.rot_x(-90)
        cylinder(b, "shield", 0.0, 0.05, 0.22, 0.22, n=8, xf=xf)
        cylinder(b, "shield_boss", 0.05, 0.08, 0.08, 0.05, n=6, xf=xf)
    if figure.get("bow"):
        longbow(b, hands[-1])
    weapon(b, figure.get("weapon"), hands[1], figure.get("staff_top", "orb"))
    beard = figure.get("beard")
    cylinder(b, skin, 1.04, 1.14, 0.065, 0.065, n=6)
    y0, y1, hw, hd = head(b, face_tex, 1.6, skin)
    if beard:
        b.loft([squircle_ring(y0 - 0.02, 0.19, 0.06, 0.03, cz=-hd + 0.01),
                squircle_ring(y0 + 0.16, 0.22, 0.06, 0.03, cz=-hd + 0.01)], "beard",
               caps=(True, True))
        b.loft([squircle_ring(y0 - 0.2, 0.1, 0.05, 0.02, cz=-hd - 0.01),
                squircle_ring(y0 - 0.01, 0.18, 0.06, 0.03, cz=-hd + 0.01)], "beard")
        if beard == "braided":
            for side in (-1, 1):
                limb(b, "beard", (side * 0.06, y0 - 0.15, -hd - 0.02),
                     (side * 0.07, y0 - 0.42, -hd - 0.06), 0.035, 0.025, n=4)
                ellipsoid(b, "beard_tie", (side * 0.07, y0 - 0.42, -hd - 0.06), (0.03, 0.03, 0.03),
                          n=4, stacks=3)
    hair(b, figure, y0, y1, hw, hd)
    hat(b, figure, y0, y1, hw, hd)
    head_extras(b, figure, y0, y1, hw, hd)
    if figure.get("wings"):
        wings(b, "wing", "wing_vein")
    return b


def humanoid(figure, face_tex):
    """A figure of the figure's height: a member on its party's base, or an opponent."""
    body = humanoid_body(figure, face_tex)
    b = mg.Builder(body.palette)
    if figure.get("base"):
        base_disc(b)
        foot = 0.085
    else:
        foot = 0.0
    k = figure.get("body_scale", 1.0)
    lift = figure.get("hover", 0.0)
    b.add(body, mg.move(0.0, foot + lift, 0.0) * mg.scale(k, k, k))
    if lift:
        # Motes of light carry a hovering figure above its base.
        cylinder(b, "glow", foot, foot + lift * 0.9, 0.03, 0.13, n=6)
        for x, y, z in ((-0.3, 0.3, -0.2), (0.32, 0.5, -0.1), (-0.25, 0.62, 0.25), (0.2, 0.2, 0.3)):
            ellipsoid(b, "glow", (x, y + foot, z), (0.04, 0.04, 0.04), n=4, stacks=3)
    return b


# ---- quadrupeds -------------------------------------------------------------------------

def quadruped(figure):
    """A four-legged animal facing -z: body, legs, head, ears, tail and what the figure adds."""
    b = mg.Builder(palette(figure["colours"]))
    length, high, girth = figure["length"], figure["high"], figure["girth"]
    leg_r = figure.get("leg", 0.07)
    ellipsoid(b, "fur", (0.0, high, 0.05), (girth, girth * figure.get("deep", 1.0), length / 2), n=8,
              stacks=5)
    for x, z in ((-1, -1), (1, -1), (-1, 1), (1, 1)):
        px, pz = x * girth * 0.55, z * length * 0.32 + 0.05
        limb(b, "legs", (px, high, pz), (px, 0.05, pz - 0.03), leg_r * 1.2, leg_r, n=5)
        box(b, "paws", (px - leg_r, 0.0, pz - leg_r * 2), (px + leg_r, 0.06, pz + leg_r * 0.5))
    hz = -length / 2 - 0.02
    hyy = high + figure.get("head_up", 0.25)
    hr = figure.get("head", 0.2)
    if figure.get("chest"):
        ellipsoid(b, "chest", (0.0, high + 0.08, hz + 0.14), (girth * 0.8, girth * 0.8, 0.16), n=6,
                  stacks=4)
    ellipsoid(b, "fur", (0.0, hyy, hz), (hr, hr * 0.9, hr), n=8, stacks=4)
    snout = figure.get("snout", 0.26)
    limb(b, figure.get("snout_colour", "fur"), (0.0, hyy - 0.04, hz - hr * 0.5),
         (0.0, hyy - 0.08, hz - hr * 0.5 - snout), hr * 0.55, hr * 0.32, n=6)
    tip = (0.0, hyy - 0.08, hz - hr * 0.5 - snout)
    if figure.get("kind") == "boar":
        cylinder(b, "snout", -0.02, 0.02, hr * 0.36, hr * 0.36, n=6,
                 xf=mg.move(tip[0], tip[1], tip[2]) * mg.rot_x(90))
        for side in (-1, 1):
            xf = mg.move(side * hr * 0.3, tip[1] - 0.04, tip[2] + 0.08) * mg.rot_x(-30) * mg.rot_z(
                -side * 20)
            cylinder(b, "tusk", 0.0, 0.16, 0.035, 0.0, n=4, xf=xf)
        for k in range(5):
            z = -length * 0.35 + k * length * 0.16
            xf = mg.move(0.0, high + girth * figure.get("deep", 1.0) - 0.04, z) * mg.rot_x(15)
            cylinder(b, "bristle", 0.0, 0.16, 0.07, 0.0, n=4, xf=xf, rz0=0.03)
    else:
        ellipsoid(b, "black", tip, (0.045, 0.04, 0.035), n=4, stacks=3)
    if figure.get("fangs"):
        for side in (-1, 1):
            cylinder(b, "white", 0.0, 0.07, 0.02, 0.0, n=3,
                     xf=mg.move(side * 0.04, tip[1] - 0.03, tip[2] + 0.06) * mg.rot_x(180))
    ear = figure.get("ear", 0.18)
    for side in (-1, 1):
        xf = mg.move(side * hr * 0.5, hyy + hr * 0.6, hz + 0.04) * mg.rot_z(-side * 15)
        cylinder(b, "ears", 0.0, ear, 0.065, 0.0, n=4, xf=xf, rz0=0.03)
        ellipsoid(b, "eyes", (side * hr * 0.5, hyy + 0.04, hz - hr * 0.72), (0.04, 0.03, 0.02),
                  n=4, stacks=3)
    if figure.get("scarf"):
        cylinder(b, "scarf", high + 0.06, high + 0.16, girth * 0.78, girth * 0.8, n=8,
                 xf=mg.move(0.0, 0.0, hz + 0.22), rz0=0.17, rz1=0.17)
        box(b, "scarf", (-0.06, high - 0.18, hz + 0.02), (0.06, high + 0.08, hz + 0.06))
    tail = figure.get("tail")
    if tail:
        limb(b, "tail", (0.0, high + 0.05, length / 2), (0.0, high + tail[0], length / 2 + tail[1]),
             figure.get("tail_r", 0.08), 0.03, n=5)
    return b


# ---- the cast ---------------------------------------------------------------------------------

# Members by roster id: looks and colours as the roster gives them.
MEMBERS = {
    "leon": {"height": 1.8, "outfit": "armour", "hair_style": "short", "cape": True,
             "sheath": True,
             "colours": {"hair": "f4d03f", "top": "c0392b", "sleeve": "c0392b", "trim": "8b5a2b",
                         "legs": "5d4a44", "shoes": "6e4b3a", "armour": "c8ccd8", "cape": "c0392b",
                         "grip": "6e4b3a", "guard": "f1c40f", "sheath": "5d4037"},
             "face": {"eyes": "2e86c1", "eye_style": "round", "brows": "fierce", "mouth": "smile",
                      "fringe": "side"}},
    "borg": {"height": 1.5, "outfit": "tunic", "hair_style": "short", "hat": "horned",
             "weapon": "axe", "build": 1.3, "beard": "braided", "skin": "skin_b",
             "colours": {"skin_b": "e0ac69", "hair": "8e5b3a", "top": "a0522d", "sleeve": "a0522d",
                         "trim": "4a3728", "legs": "7f8c8d", "shoes": "4a3728", "hat": "7f8c8d",
                         "horn": "ecf0e1", "beard": "a04000", "beard_tie": "d35400",
                         "staff": "6e4b3a"},
             "face": {"skin": "e0ac69", "eyes": "4a3728", "eye_style": "narrow", "brows": "fierce",
                      "mouth": "none", "fringe": "none", "hair": "8e5b3a"}},
    "cecilia": {"height": 1.78, "outfit": "robe", "hair_style": "long", "hair_to": 0.78,
                "weapon": "staff", "staff_top": "ring", "skin": "skin_c",
                "colours": {"skin_c": "fae5d3", "hair": "5dade2", "top": "ecf0f1",
                            "bottom": "ecf0f1", "sleeve": "ecf0f1", "trim": "f4d03f",
                            "legs": "ecf0f1", "shoes": "d6eaf8", "staff": "c8a040",
                            "gem": "d6eaf8"},
                "face": {"skin": "fae5d3", "eyes": "1f618d", "eye_style": "round",
                         "brows": "kind", "mouth": "smile", "blush": True, "fringe": "straight"}},
    "dain": {"height": 1.76, "outfit": "tunic", "hair_style": "spiky", "weapon": "spear",
             "shield": True, "skin": "skin_d",
             "colours": {"skin_d": "e0ac69", "hair": "2c3e50", "top": "27ae60", "sleeve": "bdc3c7",
                         "trim": "6e4b3a", "legs": "bdc3c7", "shoes": "6e4b3a", "staff": "a0522d",
                         "shield": "a0522d", "shield_boss": "bdc3c7"},
             "face": {"skin": "e0ac69", "eyes": "4a3728", "eye_style": "narrow", "brows": "fierce",
                      "mouth": "flat", "fringe": "spiky"}},
    "mira": {"height": 1.95, "outfit": "robe", "hair_style": "long", "hair_to": 0.9,
             "hat": "witch", "weapon": "star_wand", "skin": "skin_m",
             "colours": {"skin_m": "fae5d3", "hair": "e74c3c", "top": "8e44ad", "bottom": "6c3483",
                         "sleeve": "8e44ad", "trim": "f5b041", "legs": "6c3483", "shoes": "4a235a",
                         "hat": "6c3483", "hat_band": "f5b041", "staff": "6e2c00",
                         "star": "f7dc6f"},
             "face": {"skin": "fae5d3", "eyes": "8e44ad", "eye_style": "round", "mouth": "grin",
                      "blush": True, "fringe": "straight"}},
    "garon": {"height": 1.98, "outfit": "vest", "hair_style": "bald", "weapon": "hammer",
              "build": 1.4, "head_kind": "bear", "skin": "fur", "arm": 0.09,
              "colours": {"fur": "7b4a2a", "muzzle": "c49a6c", "top": "a9744f", "sleeve": "7b4a2a",
                          "vest": "5d4037", "trim": "3e2723", "legs": "7b4a2a", "shoes": "4e342e",
                          "staff": "6e2c00", "hammer_head": "5d6d7e"},
              "face": {"skin": "7b4a2a", "eyes": "1b1b1b", "eye_style": "round", "mouth": "none",
                       "fringe": "none", "hair": None}},
    "tia": {"height": 1.55, "outfit": "dress", "hair_style": "short", "weapon": "star_wand",
            "wings": True, "body_scale": 0.62, "hover": 0.5, "skin": "skin_t",
            "colours": {"skin_t": "fdebd0", "hair": "58d68d", "top": "58d68d", "bottom": "45b86f",
                        "sleeve": "fdebd0", "trim": "f7dc6f", "legs": "58d68d", "shoes": "45b86f",
                        "staff": "f7dc6f", "star": "f7dc6f", "wing": "d4eaf8",
                        "wing_vein": "aed6f1", "glow": "f9e79f"},
            "face": {"skin": "fdebd0", "eyes": "1e8449", "eye_style": "round", "mouth": "grin",
                     "blush": True, "fringe": "straight"}},
    "ragna": {"height": 1.85, "outfit": "coat", "hair_style": "tied", "weapon": "long_sword",
              "pose": "hold", "skin": "skin_r",
              "colours": {"skin_r": "f0c8a0", "hair": "d5d8dc", "hair_tie": "85c1e9",
                          "top": "2e4053", "bottom": "2e4053", "sleeve": "2e4053", "trim": "85c1e9",
                          "legs": "1b2631", "shoes": "17202a", "grip": "1b2631", "guard": "85c1e9"},
              "face": {"skin": "f0c8a0", "eyes": "2e4053", "eye_style": "narrow", "brows": "fierce",
                       "mouth": "flat", "fringe": "side"}},
    "gald": {"height": 1.88, "outfit": "tunic", "hair_style": "short", "hat": "hood", "cape": True,
             "bow": True, "build": 1.12, "skin": "skin_g",
             "colours": {"skin_g": "d7a87a", "hair": "6e2c00", "top": "196f3d", "sleeve": "196f3d",
                         "trim": "6e2c00", "legs": "6e2c00", "shoes": "4a2a10", "hat": "1e8449",
                         "hat_band": "145a32", "cape": "145a32", "bow": "784212",
                         "string": "ecf0e1"},
             "face": {"skin": "d7a87a", "eyes": "6e2c00", "eye_style": "narrow", "brows": "fierce",
                      "mouth": "flat", "stubble": True, "fringe": "side"}},
    "beck": {"height": 1.7, "outfit": "vest", "hair_style": "spiky", "hat": "bandana",
             "weapon": "dagger", "pose": "hold", "sheath": True, "skin": "skin_k",
             "colours": {"skin_k": "f0b27a", "hair": "6e4b3a", "top": "2c3e50", "sleeve": "2c3e50",
                         "vest": "6e4b3a", "trim": "4a3728", "legs": "6e4b3a", "shoes": "3e2723",
                         "hat": "ca6f1e", "grip": "3e2723", "guard": "bdc3c7", "sheath": "4a3728"},
             "face": {"skin": "f0b27a", "eyes": "2c3e50", "eye_style": "round", "mouth": "grin",
                      "fringe": "spiky"}},
    "noel": {"height": 1.55, "outfit": "robe", "hair_style": "short", "hat": "cap", "cape": True,
             "weapon": "book", "pose": "hold", "skin": "skin_n",
             "colours": {"skin_n": "fae5d3", "hair": "f4d03f", "top": "2874a6", "bottom": "1f618d",
                         "sleeve": "2874a6", "trim": "f4d03f", "legs": "1f618d", "shoes": "1a5276",
                         "hat": "2874a6", "hat_band": "f4d03f", "cape": "1a5276", "book": "922b21"},
             "face": {"skin": "fae5d3", "eyes": "2874a6", "eye_style": "round", "mouth": "open",
                      "glasses": True, "fringe": "straight"}},
    "hayate": {"quadruped": True, "height": 1.5, "kind": "canine", "length": 1.2, "high": 0.72,
               "girth": 0.26, "head": 0.22, "head_up": 0.32, "ear": 0.2, "tail": (0.3, 0.4),
               "tail_r": 0.1, "scarf": True, "chest": True,
               "colours": {"fur": "d0d3d4", "chest": "f8f9f9", "legs": "d0d3d4", "paws": "f8f9f9",
                           "ears": "bfc4c6", "eyes": "5dade2", "tail": "f8f9f9", "scarf": "2e86c1"}},
}

OPPONENTS = {
    "dog": {"quadruped": True, "height": 1.05, "kind": "canine", "length": 1.0, "high": 0.5,
            "girth": 0.18, "head": 0.16, "head_up": 0.22, "ear": 0.14, "tail": (0.2, 0.3),
            "fangs": True, "leg": 0.05,
            "colours": {"fur": "7f8c8d", "legs": "566573", "paws": "566573", "ears": "566573",
                        "eyes": "e74c3c", "tail": "566573"}},
    "boar": {"quadruped": True, "height": 1.05, "kind": "boar", "length": 1.3, "high": 0.5,
             "girth": 0.36, "deep": 0.9, "head": 0.24, "head_up": 0.05, "snout": 0.2, "ear": 0.12,
             "tail": (0.05, 0.15), "tail_r": 0.04, "leg": 0.07,
             "colours": {"fur": "6e2c00", "legs": "4a1e00", "paws": "2c1200", "ears": "a04000",
                         "eyes": "1b1b1b", "tail": "4a1e00", "snout": "c0806a", "tusk": "fdfefe",
                         "bristle": "3b1800"}},
    "goblin": {"height": 1.3, "outfit": "tunic", "hair_style": "bald", "hat": "hood",
               "weapon": "staff", "staff_top": "skull", "head_kind": "goblin", "skin": "gob",
               "build": 0.9,
               "colours": {"gob": "52be80", "top": "922b21", "sleeve": "922b21", "trim": "7b241c",
                           "legs": "7b241c", "shoes": "3e2723", "hat": "922b21",
                           "hat_band": "7b241c", "staff": "d5d8dc", "gem": "f4d03f"},
               "face": {"skin": "52be80", "eyes": "f4d03f", "eye_style": "fierce",
                        "brows": "fierce", "mouth": "teeth", "fringe": "none", "hair": None}},
    "wisp": {"special": "wisp", "height": 1.5},
    "orc": {"height": 2.1, "outfit": "fur", "hair_style": "spiky", "weapon": "club",
            "head_kind": "orc", "skin": "orc", "build": 1.45, "arm": 0.1, "pose": "brute",
            "colours": {"orc": "6b8e23", "hair": "2c3e50", "top": "6b8e23", "sleeve": "6b8e23",
                        "bottom": "5d4037", "trim": "3e2723", "legs": "6b8e23", "shoes": "3e2723",
                        "club": "5d4037", "tusk": "fdfefe"},
            "face": {"skin": "6b8e23", "eyes": "e74c3c", "eye_style": "fierce", "brows": "fierce",
                     "mouth": "grin", "fringe": "spiky"}},
    "troll": {"height": 2.4, "outfit": "fur", "hair_style": "bald", "weapon": "fist",
              "head_kind": "troll", "skin": "troll", "build": 1.55, "arm": 0.12, "pose": "brute",
              "moss": True,
              "colours": {"troll": "5d6d7e", "top": "5d6d7e", "sleeve": "5d6d7e", "bottom": "7d8c7a",
                          "trim": "4a5248", "legs": "5d6d7e", "shoes": "4a5568", "moss": "239b56",
                          "tusk": "ecf0e1", "skin": "5d6d7e"},
              "face": {"skin": "5d6d7e", "eyes": "f4d03f", "eye_style": "narrow", "brows": "fierce",
                       "mouth": "teeth", "fringe": "none", "hair": None}},
    "dark_witch": {"height": 2.05, "outfit": "robe", "hair_style": "long", "hair_to": 0.9,
                   "hat": "hood", "weapon": "staff", "staff_top": "crook", "skin": "pale",
                   "colours": {"pale": "d6dbdf", "hair": "1b1b2f", "top": "1b1b2f",
                               "bottom": "1b1b2f", "sleeve": "1b1b2f", "trim": "6c3483",
                               "legs": "1b1b2f", "shoes": "111122", "hat": "1b1b2f",
                               "hat_band": "4a235a", "staff": "4a235a", "gem": "bb8fce"},
                   "face": {"skin": "d6dbdf", "eyes": "bb8fce", "eye_style": "narrow",
                            "brows": "fierce", "mouth": "flat", "fringe": "parted"}},
    "lich": {"height": 2.1, "outfit": "robe", "hair_style": "bald", "hat": "hood",
             "weapon": "staff", "staff_top": "skull", "skin": "bone", "build": 0.9,
             "colours": {"top": "512e5f", "bottom": "4a235a", "sleeve": "512e5f", "trim": "2c1a33",
                         "legs": "4a235a", "shoes": "2c1a33", "hat": "512e5f", "hat_band": "3b1f47",
                         "staff": "784212", "gem": "58d68d"},
             "face": {"skin": "ecf0e1", "eyes": "58d68d", "eye_style": "glow", "mouth": "teeth",
                      "skull_nose": True, "fringe": "none", "hair": None}},
    "selna": {"height": 2.25, "outfit": "dress", "hair_style": "long", "hair_to": 0.6,
              "hat": "crystal_crown", "weapon": "staff", "staff_top": "orb", "skin": "ice_skin",
              "colours": {"ice_skin": "eaf2f8", "hair": "d6eaf8", "top": "aed6f1", "bottom": "aed6f1",
                          "sleeve": "d6eaf8", "trim": "5dade2", "legs": "aed6f1", "shoes": "d6eaf8",
                          "hat_band": "d6eaf8", "crown_point": "aed6f1", "staff": "aed6f1",
                          "gem": "d6eaf8"},
              "face": {"skin": "eaf2f8", "eyes": "2e86c1", "eye_style": "narrow", "mouth": "flat",
                       "fringe": "straight"}},
    "volg": {"special": "dragon", "height": 2.4},
    "golem": {"special": "golem", "height": 2.5},
    "shadow_king": {"height": 2.4, "outfit": "armour", "hair_style": "bald", "hat": "spike_crown",
                    "weapon": "long_sword", "cape": True, "build": 1.25, "pose": "hold",
                    "skin": "shadow",
                    "colours": {"shadow": "1b2631", "top": "17202a", "sleeve": "273746",
                                "trim": "922b21", "legs": "17202a", "shoes": "0b0f14",
                                "armour": "273746", "hat": "273746", "hat_band": "17202a",
                                "crown_point": "5d6d7e", "cape": "922b21", "grip": "17202a",
                                "guard": "922b21"},
                    "face": {"skin": "1b2631", "eyes": "e74c3c", "eye_style": "glow",
                             "mouth": "none", "fringe": "none", "hair": None}},
}


def face_spec(figure):
    f = dict(figure["face"])
    for k in ("skin", "hair", "eyes", "beard"):
        if isinstance(f.get(k), str):
            f[k] = hx(f[k])
    if "skin" not in f:
        f["skin"] = COMMON["skin"]
    if "hair" not in f:
        h = figure["colours"].get("hair")
        f["hair"] = hx(h) if isinstance(h, str) else h
    return f


def build_figure(n, figure, party=None):
    """(builder, textures) of a humanoid or quadruped figure."""
    figure = dict(figure)
    figure["colours"] = dict(figure["colours"])
    textures = {}
    if party is not None:
        figure["base"] = True
        base = PARTY_BASE[party]
        figure["colours"]["base"] = base
        figure["colours"]["base_top"] = tuple(min(255, int(v * 0.7 + 255 * 0.3)) for v in base)
    if figure.get("quadruped"):
        body = quadruped(figure)
        b = mg.Builder(body.palette)
        if figure.get("base"):
            oval = figure["length"] * 1.25
            base_disc(b, oval)
            b.add(body, mg.move(0.0, 0.085, 0.0))
        else:
            b = body
        return b, textures
    tex_name = "face_%02d.png" % n
    b = humanoid(figure, tex_name)
    textures[tex_name] = face_texture(face_spec(figure))
    return b, textures


# ---- opponents of their own shape ---------------------------------------------------------------

def eyes_geom(b, y, z, dx, r=0.07, pupil="black", white="eye_white"):
    """A pair of eyes as small solids on a front surface."""
    for side in (-1, 1):
        ellipsoid(b, white, (side * dx, y, z), (r, r * 1.2, r * 0.5), n=6, stacks=4)
        ellipsoid(b, pupil, (side * dx, y - r * 0.1, z - r * 0.4), (r * 0.5, r * 0.7, r * 0.3),
                  n=6, stacks=3)


def opp_wisp():
    b = mg.Builder(palette({"flame": "48c9b0", "flame2": "1abc9c", "core": "eafaf1",
                            "ember": "76d7c4"}))
    ellipsoid(b, "flame", (0.0, 0.75, 0.0), (0.42, 0.4, 0.42), n=8, stacks=5)
    cylinder(b, "flame", 0.95, 1.5, 0.3, 0.0, n=8, xf=mg.rot_z(8))
    for a in (0, 120, 240):
        xf = mg.move(0.0, 0.9, 0.0) * mg.rot_y(a + 30) * mg.move(0.24, 0, 0) * mg.rot_z(-32)
        cylinder(b, "flame2", 0.0, 0.38, 0.12, 0.0, n=5, xf=xf)
    ellipsoid(b, "flame2", (0.0, 0.32, 0.05), (0.16, 0.2, 0.16), n=6, stacks=4)
    cylinder(b, "flame2", 0.0, 0.16, 0.12, 0.0, n=5, xf=mg.move(0.0, 0.2, 0.05) * mg.rot_x(180))
    ellipsoid(b, "core", (0.0, 0.75, -0.12), (0.26, 0.24, 0.3), n=6, stacks=4)
    eyes_geom(b, 0.8, -0.4, 0.12, r=0.07, white="dark", pupil="core")
    # Floating motes that give it body enough to be struck.
    for x, y, z in ((-0.5, 0.5, 0.3), (0.5, 0.6, -0.3), (0.0, 0.35, 0.5), (0.0, 0.4, -0.5)):
        ellipsoid(b, "ember", (x, y, z), (0.06, 0.06, 0.06), n=4, stacks=3)
    return b


def v_off(p, d):
    return (p[0], p[1], p[2] + d)


def membrane(b, colour, pts, thick=0.03):
    """A thin flat solid (wing) from a convex outline."""
    b.solid([list(pts), [v_off(p, thick) for p in pts]] +
            [[pts[i], pts[(i + 1) % len(pts)], v_off(pts[(i + 1) % len(pts)], thick),
              v_off(pts[i], thick)] for i in range(len(pts))], colour)


def opp_dragon():
    b = mg.Builder(palette({"scale": "c0392b", "belly": "f39c12", "wing": "922b21",
                            "horn": "f5e6c8", "claw": "641e16", "eye": "f4d03f"}))
    ellipsoid(b, "scale", (0.0, 0.85, 0.15), (0.45, 0.5, 0.55), n=8, stacks=5)
    ellipsoid(b, "belly", (0.0, 0.8, -0.2), (0.34, 0.42, 0.3), n=8, stacks=5)
    for side in (-1, 1):
        limb(b, "scale", (side * 0.3, 0.6, 0.2), (side * 0.36, 0.05, 0.1), 0.16, 0.12, n=6)
        box(b, "claw", (side * 0.36 - 0.12, 0.0, -0.12), (side * 0.36 + 0.12, 0.08, 0.16))
        limb(b, "scale", (side * 0.36, 1.05, -0.25), (side * 0.42, 0.75, -0.5), 0.08, 0.06, n=5)
        root = (side * 0.25, 1.2, 0.3)
        tip = (side * 1.05, 1.75, 0.55)
        low = (side * 0.9, 0.9, 0.6)
        membrane(b, "wing", [root, tip, low])
        limb(b, "scale", root, tip, 0.05, 0.03, n=4)
    limb(b, "scale", (0.0, 1.2, -0.05), (0.0, 1.55, -0.25), 0.2, 0.16, n=6)
    box(b, "scale", (-0.2, 1.48, -0.62), (0.2, 1.76, -0.12))
    box(b, "scale", (-0.15, 1.46, -0.84), (0.15, 1.62, -0.6))
    box(b, "horn", (-0.13, 1.44, -0.84), (0.13, 1.47, -0.62))
    for side in (-1, 1):
        xf = mg.move(side * 0.12, 1.74, -0.2) * mg.rot_x(60) * mg.rot_z(-side * 15)
        cylinder(b, "horn", 0.0, 0.3, 0.05, 0.0, n=4, xf=xf)
        box(b, "eye", (side * 0.12 - 0.05, 1.64, -0.63), (side * 0.12 + 0.05, 1.69, -0.61))
    limb(b, "scale", (0.0, 0.5, 0.6), (0.0, 0.2, 1.2), 0.16, 0.04, n=6)
    return b


def opp_golem():
    b = mg.Builder(palette({"stone": "95a5a6", "dark": "717d7e", "rune": "5dade2"}))
    for side in (-1, 1):
        box(b, "dark", (side * 0.3 - 0.17, 0.0, -0.22), (side * 0.3 + 0.17, 0.55, 0.2))
    box(b, "stone", (-0.52, 0.5, -0.36), (0.52, 1.45, 0.36), mg.rot_x(-5))
    box(b, "stone", (-0.26, 1.42, -0.42), (0.26, 1.88, 0.06))
    box(b, "rune", (-0.2, 1.62, -0.44), (-0.06, 1.7, -0.41))
    box(b, "rune", (0.06, 1.62, -0.44), (0.2, 1.7, -0.41))
    box(b, "rune", (-0.05, 0.8, -0.4), (0.05, 1.25, -0.36), mg.rot_x(-5))
    box(b, "rune", (-0.2, 0.98, -0.4), (0.2, 1.06, -0.36), mg.rot_x(-5))
    for side in (-1, 1):
        box(b, "stone", (side * 0.62 - 0.18, 1.15, -0.2), (side * 0.62 + 0.18, 1.5, 0.2))
        box(b, "rune", (side * 0.62 - 0.1, 1.3, -0.22), (side * 0.62 + 0.1, 1.36, -0.19))
        box(b, "dark", (side * 0.66 - 0.15, 0.45, -0.26), (side * 0.66 + 0.15, 1.15, 0.12))
        box(b, "stone", (side * 0.66 - 0.2, 0.22, -0.34), (side * 0.66 + 0.2, 0.5, 0.06))
    return b


SPECIALS = {"wisp": opp_wisp, "dragon": opp_dragon, "golem": opp_golem}


# ---- the thrown prop ------------------------------------------------------------------------

def prop_dagger():
    """A throwing dagger held upright by its grip at the origin; thrown, it is laid on its
    side and flies point first."""
    b = mg.Builder(palette({"blade": "d5d8dc", "edge": "f4f6f7", "grip": "6e4b3a",
                            "guard": "f1c40f", "ribbon": "c0392b"}))
    box(b, "grip", (-0.035, -0.16, -0.035), (0.035, 0.12, 0.035))
    ellipsoid(b, "guard", (0.0, -0.2, 0.0), (0.06, 0.05, 0.06), n=5, stacks=3)
    box(b, "guard", (-0.14, 0.12, -0.045), (0.14, 0.18, 0.045))
    b.loft([[(-0.07, 0.18, 0.0), (0.0, 0.18, -0.02), (0.07, 0.18, 0.0), (0.0, 0.18, 0.02)],
            [(-0.05, 0.6, 0.0), (0.0, 0.6, -0.016), (0.05, 0.6, 0.0), (0.0, 0.6, 0.016)]], "blade")
    cylinder(b, "edge", 0.6, 0.82, 0.05, 0.0, n=4, xf=mg.rot_y(45), rz0=0.016)
    limb(b, "ribbon", (0.0, -0.22, 0.0), (0.05, -0.42, 0.06), 0.025, 0.015, n=4)
    return b


# ---- output ----------------------------------------------------------------------------------

def fit_height(b, target):
    """Scales the model uniformly so that its top is at target (it stands on y = 0)."""
    top = max(p[1] for t in b.tris for p in t[:3])
    k = target / top
    b.tris = [tuple((p[0] * k, p[1] * k, p[2] * k) for p in t[:3]) + t[3:] for t in b.tris]


def models():
    """(builder, textures) of meshes 0..24 in order."""
    roster = read_roster()
    out = []
    for row in range(24):
        group, _, ident = roster[row]
        if row < 12:
            assert group == "c%d" % (row // 4), (row, group)
            figure = MEMBERS[ident]
            b, tex = build_figure(row, figure, party=row // 4)
            assert MEMBER_HEIGHT[0] <= figure["height"] <= MEMBER_HEIGHT[1], ident
        else:
            assert group == "foe", (row, group)
            figure = OPPONENTS[ident]
            if figure.get("special"):
                b, tex = SPECIALS[figure["special"]](), {}
            else:
                b, tex = build_figure(row, figure)
        fit_height(b, figure["height"])
        out.append((b, tex))
    out.append((prop_dagger(), {}))
    assert len(out) == MESH_COUNT
    return out


def manifest_update(texture_paths):
    with open(MANIFEST, encoding="utf-8") as fh:
        lines = fh.read().split("\n")
    first = FIRST_MESH_TEXTURE_ENTRY
    if len(texture_paths) > FIRST_MESH_ENTRY - first:
        raise SystemExit("too many material textures: %d" % len(texture_paths))
    out = []
    for line in lines:
        parts = line.split(" ", 1)
        if parts[0].isdigit() and first <= int(parts[0]) < FIRST_MESH_ENTRY:
            k = int(parts[0]) - first
            out.append("%s %s" % (parts[0], texture_paths[k] if k < len(texture_paths) else "-"))
        else:
            out.append(line)
    with open(MANIFEST, "w", encoding="utf-8") as fh:
        fh.write("\n".join(out))


def main():
    os.makedirs(TEX_DIR, exist_ok=True)
    texture_paths = []
    report = []
    written = set()
    for n, (b, textures) in enumerate(models()):
        text, stats = mg.write_x(b, "mesh_%02d" % n)
        with open(os.path.join(MESH_DIR, "mesh_%02d.x" % n), "w", encoding="ascii",
                  newline="\n") as fh:
            fh.write(text)
        for name in stats["textures"]:
            texture_paths.append("meshes/tex/" + name)
            if name not in written:
                style.save_png(textures[name], os.path.join(TEX_DIR, name))
                written.add(name)
        report.append((n, stats))
    # Textures that no model names any more are removed.
    for name in sorted(os.listdir(TEX_DIR)):
        if name.endswith(".png") and name not in written:
            os.remove(os.path.join(TEX_DIR, name))
    manifest_update(texture_paths)
    for n, st in report:
        print("mesh_%02d: %4d triangles %4d vertices %2d materials %d textures, "
              "size %.2f x %.2f x %.2f" % (n, st["triangles"], st["vertices"], st["materials"],
                                           len(st["textures"]), st["width"], st["height"],
                                           st["depth"]))
    print("material textures: %d (entries %d..%d)" % (
        len(texture_paths), FIRST_MESH_TEXTURE_ENTRY,
        FIRST_MESH_TEXTURE_ENTRY + len(texture_paths) - 1))


if __name__ == "__main__":
    main()
