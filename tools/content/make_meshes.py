#!/usr/bin/python3
"""The game's 25 models as X files, with the textures their materials name.

Writes content/meshes/mesh_00.x .. mesh_24.x (pack entries 90..114), their material textures
content/meshes/tex/*.png, and the material-texture lines 27..89 of content/pack.manifest:
material textures are handed out from entry 27 on in the order in which meshes 0..24 and their
materials name them.

Meshes 0..11 are the three characters' four members each, 12..23 the battle opponents, 24 the
thrown prop. Figures stand on y = 0 and face -z. Members stand on a round base in their
character's colour (a board piece, and deep enough for the battle stage's reach test).

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
from meshgen import box, cylinder, ellipsoid, limb, ring, squircle_ring  # noqa: E402

MESH_DIR = os.path.join("content", "meshes")
TEX_DIR = os.path.join(MESH_DIR, "tex")
MANIFEST = os.path.join("content", "pack.manifest")
FIRST_MESH_TEXTURE_ENTRY = 27
FIRST_MESH_ENTRY = 90
MESH_COUNT = 25
FACE_TEX = 64
SUPER = 4

# Colours shared by all models (0..255).
COMMON = {
    "skin": (246, 208, 172), "skin_tan": (208, 156, 112), "skin_pale": (250, 226, 210),
    "white": (244, 242, 236), "black": (30, 28, 34), "eye_white": (250, 250, 250),
    "steel": (176, 184, 196), "iron": (96, 100, 112), "gold": (232, 186, 64),
    "wood": (136, 90, 52), "leather": (110, 70, 44), "red": (200, 52, 48),
    "blue": (52, 92, 190), "navy": (36, 44, 96), "purple": (122, 64, 168),
    "orange": (228, 128, 40), "brown": (112, 74, 44), "grey": (128, 128, 136),
    "cream": (236, 222, 190), "teal": (40, 150, 150), "pink": (236, 140, 170),
    "crystal": (150, 220, 250), "bone": (232, 226, 204), "moss": (84, 128, 64),
    "fire": (250, 150, 40), "violet": (170, 100, 220),
}

# The three characters' colours: the base rings of their members.
CHARACTER_BASE = {0: (206, 58, 52), 1: (54, 104, 210), 2: (232, 184, 44)}

FRONT_LEVEL = mg.LEVELS[mg.level_of((0.0, 0.0, -1.0))]


def palette(extra=None):
    p = dict(COMMON)
    p.update(extra or {})
    return p


# ---- face textures ------------------------------------------------------------------------

def lit(rgb):
    """A colour as a front-facing surface shows it, so that painted faces meet their heads."""
    return tuple(int(round(c * FRONT_LEVEL)) for c in rgb) + (255,)


def face_texture(f):
    """A face painted for the front of a head: skin, fringe, eyes, brows, mouth."""
    s = SUPER
    n = FACE_TEX * s
    img = Image.new("RGBA", (n, n), lit(f["skin"]))
    d = ImageDraw.Draw(img)
    hair = lit(f["hair"]) if f.get("hair") else None
    eye = lit(f.get("eyes", (60, 40, 30)))
    ink = lit((40, 28, 24))
    # The head's front face spans the texture; the hair cap hides its top 22 %.
    cx = n / 2
    ey = n * 0.50
    dx = n * 0.20
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
            d.polygon([(x - 7 * s, ey - 3 * s * -side), (x + 7 * s, ey + 3 * s * -side),
                       (x + 6 * s, ey + 6 * s), (x - 6 * s, ey + 6 * s)],
                      fill=lit((250, 250, 250)))
            d.ellipse((x - 3 * s, ey - 1 * s, x + 3 * s, ey + 5 * s), fill=eye)
        # Brows.
        by = ey - 12 * s
        tilt = {"fierce": 4, "kind": -2}.get(f.get("brows", ""), 0) * s * side
        bc = hair if hair else ink
        d.line([(x - 6 * s, by + tilt * -0.5), (x + 6 * s, by - tilt * -0.5)], fill=bc,
               width=3 * s)
        if f.get("blush"):
            d.ellipse((x + side * 3 * s - 5 * s, ey + 9 * s, x + side * 3 * s + 5 * s,
                       ey + 13 * s), fill=lit((240, 150, 150)))
    if f.get("glasses"):
        for side in (-1, 1):
            x = cx + side * dx
            d.ellipse((x - 9 * s, ey - 10 * s, x + 9 * s, ey + 10 * s), outline=ink, width=2 * s)
        d.line([(cx - dx + 9 * s, ey), (cx + dx - 9 * s, ey)], fill=ink, width=2 * s)
    # Mouth.
    my = n * 0.78
    mouth = f.get("mouth", "smile")
    if mouth == "smile":
        d.arc((cx - 7 * s, my - 6 * s, cx + 7 * s, my + 4 * s), 20, 160, fill=ink, width=2 * s)
    elif mouth == "open":
        d.chord((cx - 6 * s, my - 4 * s, cx + 6 * s, my + 6 * s), 0, 180, fill=lit((150, 50, 50)))
    elif mouth == "flat":
        d.line([(cx - 5 * s, my), (cx + 5 * s, my)], fill=ink, width=2 * s)
    elif mouth == "grin":
        d.chord((cx - 9 * s, my - 5 * s, cx + 9 * s, my + 6 * s), 0, 180, fill=lit((250, 250, 250)))
        d.arc((cx - 9 * s, my - 5 * s, cx + 9 * s, my + 6 * s), 0, 180, fill=ink, width=2 * s)
    if f.get("beard"):
        d.polygon([(cx - 22 * s, my - 10 * s), (cx + 22 * s, my - 10 * s), (cx + 18 * s, n),
                   (cx - 18 * s, n)], fill=lit(f["beard"]))
        d.polygon([(cx - 12 * s, my - 6 * s), (cx + 12 * s, my - 6 * s), (cx, my - 1 * s)],
                  fill=lit(f["beard"]))
        d.line([(cx - 4 * s, my + 3 * s), (cx + 4 * s, my + 3 * s)], fill=ink, width=2 * s)
    if f.get("mark"):
        d.polygon([(cx, n * 0.3), (cx + 3 * s, n * 0.36), (cx, n * 0.42), (cx - 3 * s, n * 0.36)],
                  fill=lit(f["mark"]))
    # Fringe over the forehead.
    fringe = f.get("fringe", "straight")
    if hair and fringe != "none":
        top = n * 0.0
        base = n * 0.30
        if fringe == "straight":
            pts = [(0, top), (n, top), (n, base)]
            k = 6
            for i in range(k, -1, -1):
                x = n * i / k
                pts.append((x, base + (5 * s if i % 2 else -2 * s)))
            pts.append((0, base))
        elif fringe == "side":
            pts = [(0, top), (n, top), (n, base * 0.9), (n * 0.35, base * 1.2), (0, base * 0.7)]
        elif fringe == "spiky":
            pts = [(0, top), (n, top), (n, base)]
            for i in range(8, -1, -1):
                x = n * i / 8
                pts.append((x, base + (8 * s if i % 2 else -6 * s)))
        elif fringe == "parted":
            pts = [(0, top), (n, top), (n, base * 1.3), (n * 0.55, base * 0.6),
                   (n * 0.45, base * 0.6), (0, base * 1.3)]
        else:
            raise ValueError(fringe)
        d.polygon(pts, fill=hair)
    return img.resize((FACE_TEX, FACE_TEX), Image.LANCZOS)


# ---- humanoid figures ---------------------------------------------------------------------

def base_disc(b, colour="base"):
    cylinder(b, colour, 0.0, 0.07, 0.5, 0.47, n=10)
    cylinder(b, "base_top", 0.07, 0.085, 0.42, 0.40, n=10, caps=(False, True))


def head(b, face_tex, top_y, skin="skin"):
    """A head: a box with cut corners whose front face carries the face texture. Returns the
    head's measures for the hair: (bottom, top, half width, half depth)."""
    y0, y1 = top_y - 0.48, top_y
    hw, hd, c = 0.235, 0.215, 0.075
    rings = [squircle_ring(y0, hw - 0.04, hd - 0.04, c - 0.02),
             squircle_ring(y0 + 0.05, hw, hd, c),
             squircle_ring(y1 - 0.06, hw, hd, c),
             squircle_ring(y1, hw - 0.05, hd - 0.05, c - 0.025)]
    # The loft's side face 1 x 8 + 0 is the front face of the middle band.
    fx0, fx1 = -hw + c, hw - c
    fy0, fy1 = y0 + 0.05, y1 - 0.06
    faces = []
    keys = []
    uvs = []
    n = 8
    for r in range(3):
        lo, hi = rings[r], rings[r + 1]
        for s_ in range(n):
            t = (s_ + 1) % n
            faces.append([lo[s_], lo[t], hi[t], hi[s_]])
            if r == 1 and s_ == 0:
                keys.append(("tex", face_tex))
                uvs.append([(0.0, 1.0), (1.0, 1.0), (1.0, 0.0), (0.0, 0.0)])
            else:
                keys.append(skin)
                uvs.append(None)
    faces.append(list(rings[0]))
    keys.append(skin)
    uvs.append(None)
    faces.append(list(rings[-1]))
    keys.append(skin)
    uvs.append(None)
    b.solid(faces, lambda i, f: keys[i], uv_faces=uvs)
    del fx0, fx1, fy0, fy1
    return y0, y1, hw, hd


def hair_cap(b, y_from, y_top, hw, hd, colour="hair", back_to=None, long_sides=False):
    """Hair over the crown and the back of the head, clear of the face below y_from."""
    g = 0.025
    rings = [squircle_ring(y_from, hw + g, hd + g, 0.09),
             squircle_ring(y_top - 0.05, hw + g, hd + g, 0.09),
             squircle_ring(y_top + 0.03, hw - 0.04, hd - 0.04, 0.06)]
    b.loft(rings, colour)
    if back_to is not None:
        # The back: a slab behind the face plane, from the cap down to back_to.
        z0 = -0.02 if not long_sides else -hd * 0.55
        box(b, colour, (-hw - g, back_to, z0), (hw + g, y_from + 0.02, hd + g + 0.01))


def hair(b, spec, y0, y1, hw, hd):
    style_ = spec.get("hair_style", "short")
    cap_from = y1 - 0.16
    if style_ == "bald":
        return
    if style_ == "short":
        hair_cap(b, cap_from, y1, hw, hd, back_to=y0 + 0.12)
    elif style_ == "spiky":
        hair_cap(b, cap_from, y1, hw, hd, back_to=y0 + 0.12)
        for i, (x, z, lean) in enumerate(((-0.14, -0.05, -25), (0.0, -0.09, 0), (0.14, -0.05, 25),
                                           (-0.09, 0.12, -20), (0.09, 0.12, 20),
                                           (0.0, 0.06, 0))):
            xf = mg.move(x, y1 - 0.01, z) * mg.rot_z(-lean) * mg.rot_x(-18 if z < 0 else 25)
            cylinder(b, "hair", 0.0, 0.2, 0.08, 0.0, n=4, xf=xf)
    elif style_ == "long":
        hair_cap(b, cap_from, y1, hw, hd, back_to=spec.get("hair_to", 0.82), long_sides=True)
    elif style_ == "ponytail":
        hair_cap(b, cap_from, y1, hw, hd, back_to=y0 + 0.12)
        ellipsoid(b, "hair", (0.0, y1 - 0.2, hd + 0.1), (0.09, 0.22, 0.09), n=6, stacks=4,
                  xf=IDENT)
    elif style_ == "twin":
        hair_cap(b, cap_from, y1, hw, hd, back_to=y0 + 0.12)
        for side in (-1, 1):
            ellipsoid(b, "hair", (side * (hw + 0.08), y1 - 0.3, 0.05), (0.07, 0.24, 0.07), n=6,
                      stacks=4)
    elif style_ == "bun":
        hair_cap(b, cap_from, y1, hw, hd, back_to=y0 + 0.12)
        ellipsoid(b, "hair", (0.0, y1 + 0.06, 0.08), (0.12, 0.1, 0.12), n=6, stacks=4)
    else:
        raise ValueError(style_)


IDENT = mg.IDENTITY


def hat(b, spec, y0, y1, hw, hd):
    kind = spec.get("hat")
    if not kind:
        return
    if kind == "wizard":
        cylinder(b, "hat", y1 - 0.06, y1 - 0.03, 0.40, 0.40, n=10)
        cylinder(b, "hat_band", y1 - 0.03, y1 + 0.03, 0.25, 0.24, n=8)
        xf = mg.move(0.0, y1 + 0.03, 0.02) * mg.rot_x(12)
        cylinder(b, "hat", 0.0, spec.get("hat_height", 0.32), 0.24, 0.0, n=8, xf=xf)
    elif kind == "helmet":
        rings = [squircle_ring(y1 - 0.2, hw + 0.04, hd + 0.04, 0.1),
                 squircle_ring(y1 + 0.02, hw + 0.04, hd + 0.04, 0.1),
                 squircle_ring(y1 + 0.09, hw - 0.06, hd - 0.06, 0.05)]
        b.loft(rings, "hat")
        box(b, "hat", (-hw - 0.04, y0 + 0.05, -0.02), (hw + 0.04, y1 - 0.18, hd + 0.045))
        box(b, "hat_band", (-0.03, y1 - 0.02, -hd - 0.06), (0.03, y1 + 0.16, hd + 0.02))
    elif kind == "horned":
        rings = [squircle_ring(y1 - 0.17, hw + 0.04, hd + 0.04, 0.1),
                 squircle_ring(y1 + 0.02, hw + 0.04, hd + 0.04, 0.1),
                 squircle_ring(y1 + 0.08, hw - 0.06, hd - 0.06, 0.05)]
        b.loft(rings, "hat")
        for side in (-1, 1):
            xf = mg.move(side * (hw + 0.02), y1 - 0.04, 0.0) * mg.rot_z(-side * 55)
            cylinder(b, "hat_band", 0.0, 0.26, 0.06, 0.0, n=5, xf=xf)
    elif kind == "hood":
        g = 0.05
        rings = [squircle_ring(y0 - 0.02, hw + g + 0.03, hd + g, 0.1),
                 squircle_ring(y1 - 0.02, hw + g, hd + g, 0.1),
                 squircle_ring(y1 + 0.07, hw - 0.05, hd - 0.02, 0.06, cz=0.03)]
        # Open at the front: only the sides, back and top of the lofted hood are kept.
        faces, keys = [], []
        for r in range(2):
            lo, hi = rings[r], rings[r + 1]
            for s_ in range(8):
                t = (s_ + 1) % 8
                faces.append([lo[s_], lo[t], hi[t], hi[s_]])
                keys.append(None if (s_ == 0 and r == 0) else "hat")
        faces.append(list(rings[-1]))
        keys.append("hat")
        b.solid(faces, lambda i, f: keys[i])
        # A hood is open in front; its front rim frames the face.
        box(b, "hat_band", (-hw - g - 0.02, y1 - 0.06, -hd - g - 0.01),
            (hw + g + 0.02, y1 + 0.0, -hd - g + 0.03))
    elif kind == "band":
        cylinder(b, "hat_band", y1 - 0.17, y1 - 0.11, hw + 0.04, hw + 0.04, n=8,
                 rz0=hd + 0.04, rz1=hd + 0.04)
        xf = mg.move(0.0, y1 - 0.14, hd + 0.06) * mg.rot_x(70)
        for side in (-1, 1):
            box(b, "hat_band", (side * 0.02 - 0.02, -0.02, 0.0), (side * 0.02 + 0.02, 0.02, 0.22),
                xf=xf * mg.rot_y(side * 20))
    elif kind == "crown":
        cylinder(b, "hat_band", y1 - 0.02, y1 + 0.05, 0.17, 0.17, n=8)
        for i in range(5):
            a = math.radians(-90 + i * 72)
            x, z = 0.17 * math.cos(a), 0.17 * math.sin(a)
            cylinder(b, "hat_band", 0.0, 0.09, 0.035, 0.0, n=4, xf=mg.move(x, y1 + 0.05, z))
    elif kind == "cap":
        ellipsoid(b, "hat", (0.0, y1 - 0.02, 0.02), (hw + 0.05, 0.1, hd + 0.05), n=8, stacks=4,
                  squash_bottom=0.3)
        box(b, "hat", (-0.14, y1 - 0.07, -hd - 0.18), (0.14, y1 - 0.04, -hd + 0.02))
    elif kind == "wide":
        cylinder(b, "hat", y1 - 0.06, y1 - 0.03, 0.46, 0.44, n=12)
        cylinder(b, "hat", y1 - 0.03, y1 + 0.16, 0.23, 0.2, n=8)
        cylinder(b, "hat_band", y1 - 0.03, y1 + 0.03, 0.235, 0.225, n=8)
    else:
        raise ValueError(kind)


def weapon(b, spec, hand):
    kind = spec.get("weapon")
    hx, hy, hz = hand
    if not kind:
        return
    if kind == "staff":
        cylinder(b, "wood", 0.09, 1.55, 0.03, 0.03, n=5, xf=mg.move(hx, 0.0, hz))
        ellipsoid(b, "gem", (hx, 1.63, hz), (0.09, 0.09, 0.09), n=6, stacks=4)
        cylinder(b, "gold", 1.5, 1.56, 0.06, 0.05, n=5, xf=mg.move(hx, 0.0, hz))
    elif kind == "wand":
        limb(b, "wood", (hx, hy - 0.05, hz), (hx + 0.02, hy + 0.35, hz - 0.1), 0.02, 0.018, n=4)
        ellipsoid(b, "gem", (hx + 0.025, hy + 0.4, hz - 0.115), (0.06, 0.06, 0.06), n=6, stacks=4)
    elif kind == "sword":
        xf = mg.move(hx, hy, hz)
        box(b, "leather", (-0.025, -0.06, -0.025), (0.025, 0.08, 0.025), xf)
        box(b, "gold", (-0.09, 0.08, -0.03), (0.09, 0.12, 0.03), xf)
        box(b, "steel", (-0.035, 0.12, -0.012), (0.035, 0.68, 0.012), xf)
        cylinder(b, "steel", 0.68, 0.76, 0.035, 0.0, n=4, xf=xf, rz0=0.012)
    elif kind == "axe":
        xf = mg.move(hx, hy, hz)
        cylinder(b, "wood", -0.3, 0.75, 0.03, 0.03, n=5, xf=xf)
        box(b, "steel", (0.02, 0.48, -0.02), (0.3, 0.74, 0.02), xf)
        box(b, "steel", (-0.14, 0.54, -0.02), (0.02, 0.68, 0.02), xf)
    elif kind == "spear":
        cylinder(b, "wood", 0.09, 1.5, 0.025, 0.025, n=5, xf=mg.move(hx, 0.0, hz))
        cylinder(b, "steel", 1.5, 1.78, 0.06, 0.0, n=4, xf=mg.move(hx, 0.0, hz), rz0=0.015)
    elif kind == "book":
        xf = mg.move(hx - 0.02, hy + 0.12, hz - 0.1) * mg.rot_x(-30)
        box(b, "book", (-0.13, -0.09, -0.03), (0.13, 0.09, 0.03), xf)
        box(b, "white", (-0.12, -0.085, -0.035), (0.12, 0.085, 0.035), xf * mg.move(0.005, 0, 0))
    elif kind == "fist":
        ellipsoid(b, "hat_band", hand, (0.09, 0.08, 0.09), n=6, stacks=4)
    elif kind == "bow":
        xf = mg.move(hx, hy + 0.05, hz - 0.06)
        for i in range(4):
            a0 = math.radians(-60 + 30 * i)
            a1 = math.radians(-60 + 30 * (i + 1))
            p0 = (0.0, 0.6 * math.sin(a0), -0.22 * math.cos(a0) + 0.22)
            p1 = (0.0, 0.6 * math.sin(a1), -0.22 * math.cos(a1) + 0.22)
            limb(b, "wood", xf.apply(p0), xf.apply(p1), 0.025, 0.025, n=4)
    else:
        raise ValueError(kind)


def humanoid(spec, face_tex):
    """A member or a humanoid opponent: base, legs or robe, body, arms, head, hair, hat and
    what it carries, built at a standard size and scaled to the spec's height."""
    pal = palette(spec["colours"])
    b = mg.Builder(pal)
    on_base = spec.get("base", True)
    foot = 0.085 if on_base else 0.0
    if on_base:
        base_disc(b)
    outfit = spec.get("outfit", "tunic")
    # Legs (hidden under robes), feet.
    if outfit in ("tunic", "armour", "gi"):
        for side in (-1, 1):
            cylinder(b, "legs", foot + 0.05, 0.6, 0.085, 0.095, n=6, xf=mg.move(side * 0.1, 0, 0))
    for side in (-1, 1):
        box(b, "shoes", (side * 0.1 - 0.075, foot, -0.16), (side * 0.1 + 0.075, foot + 0.09, 0.07))
    if outfit in ("robe", "dress", "hakama"):
        r0 = {"robe": 0.3, "dress": 0.36, "hakama": 0.32}[outfit]
        cylinder(b, "bottom", foot + 0.03, 0.72, r0, 0.2, n=8, rz0=r0 * 0.85, rz1=0.15)
    elif outfit == "gi":
        cylinder(b, "bottom", 0.38, 0.62, 0.23, 0.2, n=8, rz0=0.16, rz1=0.15)
    # Body.
    wide = spec.get("build", 1.0)
    rings = [squircle_ring(0.56, 0.19 * wide, 0.13, 0.05),
             squircle_ring(0.80, 0.20 * wide, 0.135, 0.05),
             squircle_ring(0.98, 0.235 * wide, 0.155, 0.06),
             squircle_ring(1.07, 0.17 * wide, 0.12, 0.05)]
    b.loft(rings, "top")
    # Belt or sash.
    cylinder(b, "trim", 0.6, 0.67, 0.2 * wide + 0.02, 0.205 * wide + 0.02, n=8, rz0=0.15, rz1=0.15)
    if spec.get("chest"):
        box(b, "trim", (-0.06, 0.7, -0.165), (0.06, 1.0, -0.12))
    if outfit == "armour":
        rings = [squircle_ring(0.7, 0.215 * wide, 0.15, 0.05),
                 squircle_ring(0.99, 0.25 * wide, 0.17, 0.06),
                 squircle_ring(1.05, 0.2 * wide, 0.14, 0.05)]
        b.loft(rings, "armour")
        for side in (-1, 1):
            ellipsoid(b, "armour", (side * 0.27 * wide, 1.02, 0.0), (0.11, 0.08, 0.11), n=6,
                      stacks=3)
    # Cape.
    if spec.get("cape"):
        b.loft([[(-0.26, foot + 0.12, 0.18), (0.26, foot + 0.12, 0.18), (0.26, foot + 0.12, 0.22),
                 (-0.26, foot + 0.12, 0.22)],
                [(-0.2, 1.06, 0.13), (0.2, 1.06, 0.13), (0.2, 1.06, 0.17), (-0.2, 1.06, 0.17)]],
               "cape")
    # Arms: the right hand (+x) carries the weapon.
    sx = 0.27 * wide
    hands = {}
    for side in (-1, 1):
        shoulder = (side * sx, 1.0, 0.0)
        pose = spec.get("pose", "down")
        if pose == "forward" or (pose == "hold" and side == 1):
            hand = (side * (sx + 0.04), 0.74, -0.2)
        else:
            hand = (side * (sx + 0.05), 0.64, -0.02)
        limb(b, "sleeve", shoulder, hand, 0.07, 0.06, n=5)
        ellipsoid(b, spec.get("skin", "skin"), hand, (0.062, 0.062, 0.062), n=5, stacks=3)
        hands[side] = hand
    if spec.get("shield"):
        hx, hy, hz = hands[-1]
        xf = mg.move(hx - 0.04, hy + 0.12, hz - 0.1) * mg.rot_x(-90)
        cylinder(b, "shield", 0.0, 0.05, 0.2, 0.2, n=8, xf=xf)
        cylinder(b, "shield_boss", 0.05, 0.08, 0.08, 0.05, n=6, xf=xf)
    weapon(b, spec, hands[1])
    # Neck, head, hair, hat.
    cylinder(b, spec.get("skin", "skin"), 1.04, 1.14, 0.065, 0.065, n=6)
    y0, y1, hw, hd = head(b, face_tex, 1.6, spec.get("skin", "skin"))
    hair(b, spec, y0, y1, hw, hd)
    hat(b, spec, y0, y1, hw, hd)
    return b


# ---- the three characters' members ---------------------------------------------------------

def member_colours(char, c):
    c = dict(c)
    c["base"] = CHARACTER_BASE[char]
    c["base_top"] = tuple(min(255, int(v * 0.75 + 250 * 0.25)) for v in CHARACTER_BASE[char])
    return c


MEMBERS = [
    # Character 0: a party in red.
    {"char": 0, "height": 1.86, "outfit": "robe", "hair_style": "long", "hat": "wizard",
     "weapon": "staff", "hair_to": 0.95,
     "colours": {"hair": (236, 160, 60), "top": (170, 40, 60), "bottom": (150, 36, 56),
                 "sleeve": (170, 40, 60), "trim": (240, 200, 90), "legs": (60, 40, 50),
                 "shoes": (80, 50, 40), "hat": (110, 30, 60), "hat_band": (240, 200, 90),
                 "gem": (250, 90, 70)},
     "face": {"eyes": (60, 120, 200), "eye_style": "round", "mouth": "smile", "blush": True,
              "fringe": "straight"}},
    {"char": 0, "height": 1.72, "outfit": "tunic", "hair_style": "spiky", "weapon": "sword",
     "cape": True, "pose": "hold",
     "colours": {"hair": (120, 64, 30), "top": (50, 90, 190), "sleeve": (50, 90, 190),
                 "trim": (110, 70, 40), "legs": (230, 220, 196), "shoes": (110, 64, 36),
                 "cape": (200, 50, 44)},
     "face": {"eyes": (120, 70, 30), "eye_style": "round", "brows": "fierce", "mouth": "grin",
              "fringe": "spiky"}},
    {"char": 0, "height": 1.66, "outfit": "dress", "hair_style": "twin", "weapon": "wand",
     "colours": {"hair": (240, 226, 140), "top": (246, 240, 232), "bottom": (246, 240, 232),
                 "sleeve": (246, 240, 232), "trim": (220, 80, 90), "shoes": (200, 70, 80),
                 "gem": (250, 120, 160), "legs": (246, 240, 232)},
     "face": {"eyes": (200, 80, 100), "eye_style": "round", "mouth": "open", "blush": True,
              "fringe": "straight"}},
    {"char": 0, "height": 1.8, "outfit": "armour", "hair_style": "short", "hat": "helmet",
     "weapon": "spear", "shield": True, "build": 1.12,
     "colours": {"hair": (60, 40, 30), "top": (120, 40, 40), "sleeve": (120, 40, 40),
                 "trim": (90, 60, 40), "legs": (80, 70, 70), "shoes": (70, 60, 60),
                 "armour": (190, 196, 206), "hat": (190, 196, 206), "hat_band": (200, 50, 44),
                 "shield": (200, 50, 44), "shield_boss": (232, 186, 64)},
     "face": {"eyes": (50, 50, 50), "eye_style": "narrow", "brows": "fierce", "mouth": "flat",
              "fringe": "none"}},
    # Character 1: a party in blue.
    {"char": 1, "height": 1.78, "outfit": "robe", "hair_style": "bald", "hat": "hood",
     "weapon": "staff",
     "colours": {"hair": (220, 220, 220), "top": (60, 70, 140), "bottom": (52, 60, 124),
                 "sleeve": (60, 70, 140), "trim": (200, 180, 120), "shoes": (80, 60, 40),
                 "hat": (60, 70, 140), "hat_band": (200, 180, 120), "gem": (120, 220, 250),
                 "legs": (60, 70, 140)},
     "face": {"eyes": (60, 60, 60), "eye_style": "smile", "brows": "kind", "mouth": "flat",
              "beard": (236, 236, 236), "hair": (236, 236, 236), "fringe": "none"}},
    {"char": 1, "height": 1.7, "outfit": "tunic", "hair_style": "ponytail", "hat": "band",
     "weapon": "sword", "pose": "hold",
     "colours": {"hair": (34, 30, 40), "top": (44, 48, 70), "sleeve": (44, 48, 70),
                 "trim": (190, 50, 50), "legs": (44, 48, 70), "shoes": (30, 30, 36),
                 "hat_band": (190, 50, 50)},
     "face": {"eyes": (40, 40, 60), "eye_style": "narrow", "brows": "fierce", "mouth": "flat",
              "fringe": "side"}},
    {"char": 1, "height": 1.7, "outfit": "hakama", "hair_style": "long", "weapon": "wand",
     "hair_to": 0.7,
     "colours": {"hair": (30, 28, 40), "top": (248, 246, 240), "bottom": (200, 40, 50),
                 "sleeve": (248, 246, 240), "trim": (200, 40, 50), "shoes": (240, 236, 228),
                 "gem": (250, 250, 250), "legs": (200, 40, 50)},
     "face": {"eyes": (90, 40, 40), "eye_style": "round", "mouth": "smile", "blush": True,
              "fringe": "straight"}},
    {"char": 1, "height": 1.9, "outfit": "tunic", "hair_style": "short", "hat": "horned",
     "weapon": "axe", "build": 1.25, "cape": True,
     "colours": {"hair": (190, 80, 30), "top": (120, 90, 60), "sleeve": (246, 200, 160),
                 "trim": (70, 50, 40), "legs": (90, 70, 50), "shoes": (70, 50, 36),
                 "hat": (150, 156, 170), "hat_band": (236, 230, 210), "cape": (60, 90, 160)},
     "face": {"eyes": (60, 90, 160), "eye_style": "fierce", "brows": "fierce", "mouth": "grin",
              "beard": (190, 80, 30), "hair": (190, 80, 30), "fringe": "none"}},
    # Character 2: a party in gold.
    {"char": 2, "height": 1.84, "outfit": "dress", "hair_style": "long", "hat": "wide",
     "weapon": "staff", "hair_to": 0.9,
     "colours": {"hair": (150, 60, 170), "top": (46, 40, 60), "bottom": (46, 40, 60),
                 "sleeve": (46, 40, 60), "trim": (232, 186, 64), "shoes": (30, 28, 34),
                 "hat": (46, 40, 60), "hat_band": (150, 60, 170), "gem": (180, 90, 240),
                 "legs": (46, 40, 60)},
     "face": {"eyes": (150, 60, 170), "eye_style": "narrow", "mouth": "smile",
              "fringe": "parted"}},
    {"char": 2, "height": 1.72, "outfit": "tunic", "hair_style": "short", "hat": "cap",
     "weapon": "bow", "cape": True,
     "colours": {"hair": (200, 120, 50), "top": (70, 120, 60), "sleeve": (70, 120, 60),
                 "trim": (120, 80, 40), "legs": (120, 96, 70), "shoes": (90, 60, 36),
                 "hat": (70, 120, 60), "cape": (110, 80, 50)},
     "face": {"eyes": (70, 120, 60), "eye_style": "round", "mouth": "smile",
              "fringe": "side"}},
    {"char": 2, "height": 1.62, "outfit": "robe", "hair_style": "bun", "weapon": "book",
     "pose": "hold",
     "colours": {"hair": (80, 50, 30), "top": (40, 120, 130), "bottom": (36, 104, 114),
                 "sleeve": (40, 120, 130), "trim": (236, 222, 190), "shoes": (80, 60, 40),
                 "book": (150, 40, 40), "legs": (40, 120, 130)},
     "face": {"eyes": (80, 50, 30), "eye_style": "round", "mouth": "smile", "glasses": True,
              "fringe": "parted"}},
    {"char": 2, "height": 1.76, "outfit": "gi", "hair_style": "bald", "weapon": "fist",
     "build": 1.1,
     "colours": {"hair": (40, 30, 30), "top": (236, 132, 40), "bottom": (236, 132, 40),
                 "sleeve": (236, 132, 40), "trim": (40, 36, 40), "legs": (236, 132, 40),
                 "shoes": (60, 50, 40), "hat_band": (180, 40, 40)},
     "skin": "skin_tan",
     "face": {"skin": (208, 156, 112), "eyes": (40, 30, 30), "eye_style": "fierce",
              "brows": "fierce", "mouth": "open", "mark": (200, 60, 50), "fringe": "none"}},
]


def build_member(i, spec):
    spec = dict(spec)
    spec["colours"] = member_colours(spec["char"], spec["colours"])
    face = dict(spec["face"])
    face.setdefault("skin", COMMON["skin"])
    face.setdefault("hair", spec["colours"].get("hair"))
    if spec.get("hair_style") == "bald" and "hair" not in spec["face"]:
        face["hair"] = None
    tex_name = "face_%02d.png" % i
    b = humanoid(spec, tex_name)
    textures = {tex_name: face_texture(face)}
    return b, textures, spec["height"]


# ---- opponents -----------------------------------------------------------------------------

def eyes_geom(b, y, z, dx, r=0.07, pupil="black", white="eye_white"):
    """A pair of eyes as small solids on a front surface."""
    for side in (-1, 1):
        ellipsoid(b, white, (side * dx, y, z), (r, r * 1.2, r * 0.5), n=6, stacks=4)
        ellipsoid(b, pupil, (side * dx, y - r * 0.1, z - r * 0.4), (r * 0.5, r * 0.7, r * 0.3),
                  n=6, stacks=3)


def opp_slime():
    b = mg.Builder(palette({"body": (90, 190, 230), "shine": (210, 244, 255)}))
    # A drop sagging on the ground: wide and low, with a curl on top.
    ellipsoid(b, "body", (0.0, 0.2, 0.0), (0.66, 0.62, 0.6), n=10, stacks=6, squash_bottom=0.32)
    cylinder(b, "body", 0.7, 1.05, 0.2, 0.0, n=6, xf=mg.move(0.0, 0.0, 0.04) * mg.rot_x(14))
    ellipsoid(b, "shine", (-0.3, 0.55, -0.42), (0.1, 0.06, 0.06), n=6, stacks=3)
    eyes_geom(b, 0.42, -0.5, 0.2, r=0.09)
    ellipsoid(b, "black", (0.0, 0.22, -0.56), (0.12, 0.05, 0.03), n=6, stacks=3)
    return b, {}, 1.1


def opp_goblin():
    spec = {"height": 1.25, "outfit": "tunic", "hair_style": "bald", "weapon": "axe",
            "base": False, "skin": "gob", "build": 0.95,
            "colours": {"gob": (120, 170, 80), "top": (120, 90, 60), "sleeve": (120, 170, 80),
                        "trim": (70, 50, 30), "legs": (90, 70, 50), "shoes": (60, 44, 30),
                        "hair": (40, 40, 30)}}
    b = humanoid(spec, "face_13.png")
    for side in (-1, 1):
        xf = mg.move(side * 0.24, 1.38, 0.0) * mg.rot_z(-side * 80)
        cylinder(b, "gob", 0.0, 0.22, 0.07, 0.0, n=4, xf=xf, rz0=0.03)
    face = {"skin": (120, 170, 80), "eyes": (240, 200, 40), "eye_style": "fierce",
            "brows": "fierce", "mouth": "grin", "hair": (40, 60, 30), "fringe": "none"}
    return b, {"face_13.png": face_texture(face)}, 1.25


def opp_wisp():
    b = mg.Builder(palette({"flame": (250, 150, 60), "core": (255, 236, 150),
                            "tip": (230, 80, 40)}))
    ellipsoid(b, "flame", (0.0, 0.75, 0.0), (0.42, 0.4, 0.42), n=8, stacks=5)
    cylinder(b, "flame", 0.95, 1.45, 0.3, 0.0, n=8, xf=mg.rot_z(8))
    for i, a in enumerate((0, 120, 240)):
        xf = mg.move(0.0, 0.95, 0.0) * mg.rot_y(a) * mg.move(0.2, 0, 0) * mg.rot_z(-30)
        cylinder(b, "tip", 0.0, 0.35, 0.12, 0.0, n=5, xf=xf)
    ellipsoid(b, "flame", (0.0, 0.3, 0.05), (0.16, 0.2, 0.16), n=6, stacks=4)
    cylinder(b, "tip", 0.0, 0.14, 0.12, 0.0, n=5, xf=mg.move(0.0, 0.12, 0.05) * mg.rot_x(180))
    ellipsoid(b, "core", (0.0, 0.75, -0.12), (0.26, 0.24, 0.3), n=6, stacks=4)
    eyes_geom(b, 0.8, -0.4, 0.12, r=0.07, white="black", pupil="core")
    # Floating embers that make it deep enough to be struck.
    for x, y, z in ((-0.5, 0.5, 0.3), (0.5, 0.6, -0.3), (0.0, 0.35, 0.5), (0.0, 0.4, -0.5)):
        ellipsoid(b, "tip", (x, y, z), (0.06, 0.06, 0.06), n=4, stacks=3)
    return b, {}, 1.45


def opp_mushroom():
    b = mg.Builder(palette({"cap": (200, 60, 60), "dots": (250, 244, 230),
                            "stem": (240, 226, 196)}))
    cylinder(b, "stem", 0.0, 0.75, 0.32, 0.24, n=8)
    ellipsoid(b, "cap", (0.0, 0.85, 0.0), (0.62, 0.42, 0.62), n=10, stacks=5, squash_bottom=0.25)
    for x, y, z in ((0.0, 1.25, 0.0), (-0.35, 1.05, -0.28), (0.38, 1.08, -0.2), (0.2, 1.0, 0.42),
                    (-0.36, 1.02, 0.3)):
        ellipsoid(b, "dots", (x, y, z), (0.11, 0.06, 0.11), n=6, stacks=3)
    eyes_geom(b, 0.5, -0.28, 0.11, r=0.06)
    for side in (-1, 1):
        limb(b, "stem", (side * 0.26, 0.5, 0.0), (side * 0.48, 0.3, -0.12), 0.06, 0.05, n=5)
    cylinder(b, "wood", 0.05, 1.0, 0.025, 0.025, n=4, xf=mg.move(0.5, 0.0, -0.12))
    ellipsoid(b, "crystal", (0.5, 1.05, -0.12), (0.07, 0.07, 0.07), n=6, stacks=3)
    return b, {}, 1.27


def opp_wolf():
    b = mg.Builder(palette({"fur": (120, 120, 136), "belly": (200, 200, 210),
                            "dark": (70, 70, 84)}))
    # Body along z, head at the front (-z).
    ellipsoid(b, "fur", (0.0, 0.62, 0.1), (0.26, 0.24, 0.52), n=8, stacks=5)
    for x, z in ((-0.14, -0.25), (0.14, -0.25), (-0.14, 0.42), (0.14, 0.42)):
        limb(b, "dark", (x, 0.62, z), (x, 0.04, z - 0.04), 0.07, 0.05, n=5)
        box(b, "dark", (x - 0.06, 0.0, z - 0.14), (x + 0.06, 0.06, z + 0.02))
    ellipsoid(b, "belly", (0.0, 0.72, -0.38), (0.22, 0.2, 0.16), n=6, stacks=4)
    ellipsoid(b, "fur", (0.0, 0.95, -0.5), (0.2, 0.18, 0.2), n=8, stacks=4)
    limb(b, "fur", (0.0, 0.92, -0.6), (0.0, 0.87, -0.86), 0.11, 0.06, n=6)
    ellipsoid(b, "black", (0.0, 0.89, -0.88), (0.04, 0.035, 0.03), n=4, stacks=3)
    for side in (-1, 1):
        xf = mg.move(side * 0.1, 1.08, -0.48) * mg.rot_z(-side * 15)
        cylinder(b, "dark", 0.0, 0.18, 0.06, 0.0, n=4, xf=xf, rz0=0.03)
        ellipsoid(b, "gold", (side * 0.1, 1.0, -0.66), (0.035, 0.025, 0.02), n=4, stacks=3)
    limb(b, "fur", (0.0, 0.7, 0.55), (0.0, 0.9, 0.92), 0.08, 0.03, n=5)
    return b, {}, 1.26


def opp_skeleton():
    spec = {"height": 1.7, "outfit": "tunic", "hair_style": "bald", "weapon": "sword",
            "shield": True, "base": False, "skin": "bone", "build": 0.8, "pose": "hold",
            "colours": {"top": (232, 226, 204), "sleeve": (232, 226, 204), "trim": (90, 60, 50),
                        "legs": (232, 226, 204), "shoes": (200, 194, 176), "hair": (0, 0, 0),
                        "shield": (110, 90, 70), "shield_boss": (150, 150, 160)}}
    b = humanoid(spec, "face_17.png")
    # Ribs on the chest.
    for k in range(3):
        y = 0.78 + 0.08 * k
        box(b, "black", (-0.13, y, -0.17), (0.13, y + 0.03, -0.13))
    face = {"skin": (232, 226, 204), "eyes": (250, 80, 40), "eye_style": "round",
            "mouth": "grin", "fringe": "none", "hair": None}
    return b, {"face_17.png": skull_texture(face)}, 1.7


def skull_texture(f):
    s = SUPER
    n = FACE_TEX * s
    img = Image.new("RGBA", (n, n), lit(f["skin"]))
    d = ImageDraw.Draw(img)
    for side in (-1, 1):
        x = n / 2 + side * n * 0.21
        d.ellipse((x - 10 * s, n * 0.42, x + 10 * s, n * 0.42 + 20 * s), fill=lit((30, 20, 20)))
        d.ellipse((x - 3 * s, n * 0.42 + 7 * s, x + 3 * s, n * 0.42 + 13 * s), fill=lit(f["eyes"]))
    d.polygon([(n / 2, n * 0.66), (n / 2 + 4 * s, n * 0.72), (n / 2 - 4 * s, n * 0.72)],
              fill=lit((30, 20, 20)))
    for k in range(6):
        x = n / 2 - 15 * s + k * 6 * s
        d.rectangle((x, n * 0.8, x + 4 * s, n * 0.9), fill=lit((250, 248, 236)))
        d.rectangle((x + 4 * s, n * 0.8, x + 6 * s, n * 0.9), fill=lit((40, 30, 30)))
    return img.resize((FACE_TEX, FACE_TEX), Image.LANCZOS)


def opp_golem():
    b = mg.Builder(palette({"stone": (150, 140, 126), "dark": (96, 88, 80),
                            "glow": (120, 230, 250), "moss": (90, 130, 70)}))
    for side in (-1, 1):
        box(b, "dark", (side * 0.3 - 0.17, 0.0, -0.22), (side * 0.3 + 0.17, 0.55, 0.2))
    box(b, "stone", (-0.52, 0.5, -0.36), (0.52, 1.45, 0.36), mg.rot_x(-5))
    box(b, "moss", (-0.5, 1.4, -0.3), (0.3, 1.5, 0.3), mg.rot_x(-5))
    box(b, "stone", (-0.26, 1.42, -0.42), (0.26, 1.88, 0.06))
    box(b, "glow", (-0.2, 1.62, -0.44), (-0.06, 1.7, -0.41))
    box(b, "glow", (0.06, 1.62, -0.44), (0.2, 1.7, -0.41))
    box(b, "glow", (-0.12, 0.95, -0.4), (0.12, 1.15, -0.36), mg.rot_x(-5))
    for side in (-1, 1):
        box(b, "stone", (side * 0.62 - 0.18, 1.15, -0.2), (side * 0.62 + 0.18, 1.5, 0.2))
        box(b, "dark", (side * 0.66 - 0.15, 0.45, -0.26), (side * 0.66 + 0.15, 1.15, 0.12))
        box(b, "stone", (side * 0.66 - 0.2, 0.22, -0.34), (side * 0.66 + 0.2, 0.5, 0.06))
    return b, {}, 1.88


def opp_dragon():
    b = mg.Builder(palette({"scale": (190, 56, 48), "belly": (240, 196, 110),
                            "wing": (120, 36, 44), "horn": (236, 228, 200)}))
    ellipsoid(b, "scale", (0.0, 0.85, 0.15), (0.45, 0.5, 0.55), n=8, stacks=5)
    ellipsoid(b, "belly", (0.0, 0.8, -0.2), (0.34, 0.42, 0.3), n=8, stacks=5)
    for side in (-1, 1):
        limb(b, "scale", (side * 0.3, 0.6, 0.2), (side * 0.36, 0.05, 0.1), 0.16, 0.12, n=6)
        box(b, "horn", (side * 0.36 - 0.12, 0.0, -0.12), (side * 0.36 + 0.12, 0.08, 0.16))
        limb(b, "scale", (side * 0.36, 1.05, -0.25), (side * 0.42, 0.75, -0.5), 0.08, 0.06, n=5)
        # Wings: two thin fans behind the shoulders.
        root = (side * 0.25, 1.2, 0.3)
        tip = (side * 1.05, 1.75, 0.55)
        low = (side * 0.9, 0.9, 0.6)
        b.solid([[root, tip, low], [v_off(root, 0.03), v_off(tip, 0.03), v_off(low, 0.03)],
                 [root, tip, v_off(tip, 0.03), v_off(root, 0.03)],
                 [tip, low, v_off(low, 0.03), v_off(tip, 0.03)],
                 [low, root, v_off(root, 0.03), v_off(low, 0.03)]], "wing")
        limb(b, "scale", root, tip, 0.05, 0.03, n=4)
    limb(b, "scale", (0.0, 1.2, -0.05), (0.0, 1.55, -0.25), 0.2, 0.16, n=6)
    box(b, "scale", (-0.2, 1.48, -0.62), (0.2, 1.76, -0.12))
    box(b, "scale", (-0.15, 1.46, -0.84), (0.15, 1.62, -0.6))
    box(b, "horn", (-0.13, 1.44, -0.84), (0.13, 1.47, -0.62))
    for side in (-1, 1):
        xf = mg.move(side * 0.12, 1.74, -0.2) * mg.rot_x(60) * mg.rot_z(-side * 15)
        cylinder(b, "horn", 0.0, 0.3, 0.05, 0.0, n=4, xf=xf)
        box(b, "gold", (side * 0.12 - 0.05, 1.64, -0.63), (side * 0.12 + 0.05, 1.69, -0.61))
    limb(b, "scale", (0.0, 0.5, 0.6), (0.0, 0.2, 1.2), 0.16, 0.04, n=6)
    return b, {}, 2.05


def v_off(p, d):
    return (p[0], p[1], p[2] + d)


def opp_demon():
    spec = {"height": 2.1, "outfit": "robe", "hair_style": "long", "weapon": "staff",
            "base": False, "skin": "demon_skin", "build": 1.2, "cape": True, "hair_to": 1.0,
            "colours": {"demon_skin": (150, 110, 190), "top": (40, 30, 50), "bottom": (40, 30, 50),
                        "sleeve": (40, 30, 50), "trim": (200, 40, 60), "shoes": (30, 20, 30),
                        "cape": (150, 30, 50), "hair": (236, 236, 240), "gem": (250, 60, 90),
                        "legs": (40, 30, 50)}}
    b = humanoid(spec, "face_20.png")
    for side in (-1, 1):
        xf = mg.move(side * 0.16, 1.58, -0.02) * mg.rot_z(-side * 35)
        cylinder(b, "bone", 0.0, 0.34, 0.07, 0.0, n=5, xf=xf)
        # Shoulder spikes.
        xf = mg.move(side * 0.3, 1.04, 0.05) * mg.rot_z(-side * 60)
        cylinder(b, "trim", 0.0, 0.2, 0.08, 0.0, n=4, xf=xf)
    face = {"skin": (150, 110, 190), "eyes": (250, 60, 60), "eye_style": "fierce",
            "brows": "fierce", "mouth": "grin", "hair": (236, 236, 240), "fringe": "parted"}
    return b, {"face_20.png": face_texture(face)}, 2.1


def opp_ice_witch():
    spec = {"height": 1.95, "outfit": "dress", "hair_style": "long", "weapon": "staff",
            "base": False, "hat": "crown", "hair_to": 0.5,
            "colours": {"top": (200, 230, 250), "bottom": (150, 200, 240), "sleeve": (200, 230, 250),
                        "trim": (90, 140, 210), "shoes": (200, 230, 250), "hair": (230, 244, 252),
                        "gem": (150, 230, 255), "hat_band": (150, 220, 250),
                        "legs": (150, 200, 240)},
            "skin": "skin_pale"}
    b = humanoid(spec, "face_21.png")
    for x, y, z in ((-0.5, 1.1, 0.1), (-0.45, 0.5, -0.2), (0.55, 0.35, 0.2)):
        xf = mg.move(x, y, z) * mg.rot_z(20)
        cylinder(b, "crystal", -0.12, 0.0, 0.0001, 0.07, n=4, xf=xf)
        cylinder(b, "crystal", 0.0, 0.14, 0.07, 0.0, n=4, xf=xf)
    face = {"skin": (250, 226, 210), "eyes": (70, 150, 220), "eye_style": "narrow",
            "mouth": "flat", "hair": (230, 244, 252), "fringe": "straight"}
    return b, {"face_21.png": face_texture(face)}, 1.95


def opp_treant():
    b = mg.Builder(palette({"bark": (110, 80, 52), "dark_bark": (76, 54, 36),
                            "leaf": (70, 140, 60), "leaf2": (110, 170, 70)}))
    cylinder(b, "bark", 0.0, 1.4, 0.4, 0.3, n=8)
    for a in (0, 72, 144, 216, 288):
        xf = mg.rot_y(a) * mg.move(0.32, 0.0, 0.0)
        limb(b, "dark_bark", xf.apply((0, 0.35, 0)), xf.apply((0.3, 0.0, 0)), 0.1, 0.05, n=4)
    for side in (-1, 1):
        limb(b, "bark", (side * 0.3, 1.1, 0.0), (side * 0.75, 1.4, -0.2), 0.1, 0.05, n=5)
        limb(b, "bark", (side * 0.75, 1.4, -0.2), (side * 0.85, 1.2, -0.45), 0.05, 0.03, n=4)
    ellipsoid(b, "leaf", (0.0, 1.75, 0.05), (0.65, 0.45, 0.6), n=8, stacks=5)
    ellipsoid(b, "leaf2", (-0.35, 1.9, -0.15), (0.32, 0.28, 0.3), n=6, stacks=4)
    ellipsoid(b, "leaf2", (0.35, 1.95, 0.2), (0.3, 0.26, 0.3), n=6, stacks=4)
    eyes_geom(b, 1.0, -0.36, 0.13, r=0.06, white="gold", pupil="black")
    box(b, "black", (-0.14, 0.66, -0.38), (0.14, 0.76, -0.3))
    return b, {}, 2.2


def opp_dark_knight():
    spec = {"height": 2.05, "outfit": "armour", "hair_style": "short", "hat": "helmet",
            "weapon": "sword", "shield": True, "base": False, "build": 1.2, "cape": True,
            "pose": "hold", "skin": "visor",
            "colours": {"visor": (30, 28, 36), "top": (40, 36, 48), "sleeve": (50, 46, 60), "trim": (150, 30, 40),
                        "legs": (50, 46, 60), "shoes": (30, 28, 34), "armour": (60, 58, 74),
                        "hat": (60, 58, 74), "hat_band": (180, 30, 40), "cape": (110, 20, 30),
                        "shield": (60, 58, 74), "shield_boss": (180, 30, 40),
                        "hair": (20, 20, 20)}}
    b = humanoid(spec, "face_23.png")
    face = {"skin": (30, 28, 36), "eyes": (250, 40, 40), "eye_style": "narrow",
            "brows": "fierce", "mouth": "none", "hair": None, "fringe": "none"}
    return b, {"face_23.png": face_texture(face)}, 2.05


def opp_bat():
    b = mg.Builder(palette({"fur": (90, 60, 110), "wing": (60, 40, 80), "ear": (200, 120, 160)}))
    ellipsoid(b, "fur", (0.0, 0.9, 0.0), (0.3, 0.34, 0.3), n=8, stacks=5)
    for side in (-1, 1):
        xf = mg.move(side * 0.15, 1.18, 0.0) * mg.rot_z(-side * 15)
        cylinder(b, "ear", 0.0, 0.25, 0.08, 0.0, n=4, xf=xf, rz0=0.04)
        root = (side * 0.2, 0.95, 0.05)
        tip = (side * 1.0, 1.3, 0.2)
        low = (side * 0.75, 0.5, 0.3)
        b.solid([[root, tip, low], [v_off(root, 0.03), v_off(tip, 0.03), v_off(low, 0.03)],
                 [root, tip, v_off(tip, 0.03), v_off(root, 0.03)],
                 [tip, low, v_off(low, 0.03), v_off(tip, 0.03)],
                 [low, root, v_off(root, 0.03), v_off(low, 0.03)]], "wing")
        limb(b, "fur", (side * 0.1, 0.6, 0.0), (side * 0.12, 0.0, -0.05), 0.04, 0.03, n=4)
    eyes_geom(b, 0.95, -0.26, 0.1, r=0.06, white="gold", pupil="black")
    for side in (-1, 1):
        cylinder(b, "white", 0.0, 0.08, 0.025, 0.0, n=3,
                 xf=mg.move(side * 0.05, 0.8, -0.28) * mg.rot_x(180))
    # The perch: a stone it clings to keeps the opponent deep enough to be struck.
    cylinder(b, "grey", 0.0, 0.1, 0.45, 0.4, n=8)
    return b, {}, 1.4


OPPONENTS = [opp_slime, opp_goblin, opp_wisp, opp_mushroom, opp_wolf, opp_skeleton,
             opp_golem, opp_dragon, opp_demon, opp_ice_witch, opp_treant, opp_dark_knight]


# ---- the thrown prop ------------------------------------------------------------------------

def prop_javelin():
    """A short javelin held upright by its grip at the origin; thrown, it is laid on its side
    point first."""
    b = mg.Builder(palette({"shaft": (150, 100, 56), "grip": (90, 50, 40), "head": (210, 216, 228),
                            "fletch": (220, 60, 50)}))
    cylinder(b, "shaft", -0.55, 0.6, 0.035, 0.035, n=5)
    cylinder(b, "grip", -0.12, 0.12, 0.045, 0.045, n=5)
    cylinder(b, "head", 0.6, 0.66, 0.07, 0.07, n=4, rz0=0.025, rz1=0.025)
    cylinder(b, "head", 0.66, 0.95, 0.07, 0.0, n=4, rz0=0.025)
    for a in (0, 90):
        xf = mg.rot_y(a)
        b.solid([[(-0.12, -0.55, -0.005), (0.12, -0.5, -0.005), (0.0, -0.3, -0.005)],
                 [(-0.12, -0.55, 0.005), (0.12, -0.5, 0.005), (0.0, -0.3, 0.005)],
                 [(-0.12, -0.55, -0.005), (0.12, -0.5, -0.005), (0.12, -0.5, 0.005),
                  (-0.12, -0.55, 0.005)],
                 [(0.12, -0.5, -0.005), (0.0, -0.3, -0.005), (0.0, -0.3, 0.005),
                  (0.12, -0.5, 0.005)],
                 [(0.0, -0.3, -0.005), (-0.12, -0.55, -0.005), (-0.12, -0.55, 0.005),
                  (0.0, -0.3, 0.005)]], "fletch", xf)
    return b, {}, None


# ---- output ----------------------------------------------------------------------------------

def fit_height(b, target):
    """Scales the model uniformly so that its top is at target (it stands on y = 0)."""
    top = max(p[1] for t in b.tris for p in t[:3])
    k = target / top
    b.tris = [tuple((p[0] * k, p[1] * k, p[2] * k) for p in t[:3]) + t[3:] for t in b.tris]


def models():
    """(builder, textures) of meshes 0..24 in order."""
    out = []
    for i, spec in enumerate(MEMBERS):
        b, tex, h = build_member(i, spec)
        fit_height(b, h)
        out.append((b, tex))
    for make in OPPONENTS:
        b, tex, h = make()
        if h:
            fit_height(b, h)
        out.append((b, tex))
    b, tex, _ = prop_javelin()
    out.append((b, tex))
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
            path = texture_paths[k] if k < len(texture_paths) else "-"
            out.append("%d %s" % (int(parts[0]), path))
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
    # Textures no model names any more are removed.
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
