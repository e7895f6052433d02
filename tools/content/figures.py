"""Figures of the cast, drawn from plain shapes: the party members, the opponents and the people
of the events. One drawing per figure serves its battle card, its event portrait and its face,
framed differently. Figures are drawn four times larger and reduced, with a dark outline, on a
transparent layer; the caller keys or flattens the result.

A figure lives in its own space: the head is centred on (0, 0) with a radius of 1 unit, y grows
downwards, the shoulders are near y = 1.8 and the waist near y = 5.
"""
import math

from PIL import Image, ImageDraw, ImageFilter

import style

SUPER = 4  # drawn at four times the size, then reduced


def rgb(hexcode, a=255):
    return (int(hexcode[0:2], 16), int(hexcode[2:4], 16), int(hexcode[4:6], 16), a)


def shade(c, k):
    """Darker (k < 1) or lighter (k > 1) version of a colour."""
    if k <= 1:
        return tuple(max(0, min(255, round(v * k))) for v in c[:3]) + (c[3] if len(c) > 3 else 255,)
    return tuple(max(0, min(255, round(v + (255 - v) * (k - 1)))) for v in c[:3]) + (255,)


def mix(a, b, k):
    return tuple(round(a[i] + (b[i] - a[i]) * k) for i in range(3)) + (255,)


class Pen:
    """Draws figure-space shapes onto a supersampled layer."""

    def __init__(self, draw, scale, ox, oy, outline_px):
        self.d = draw
        self.s = scale
        self.ox = ox
        self.oy = oy
        self.ow = max(2, round(outline_px))
        self.ink = style.OUTLINE

    def p(self, x, y):
        return (self.ox + x * self.s, self.oy + y * self.s)

    def pts(self, pts):
        return [self.p(x, y) for x, y in pts]

    def ell(self, cx, cy, rx, ry, fill, line=True):
        x0, y0 = self.p(cx - rx, cy - ry)
        x1, y1 = self.p(cx + rx, cy + ry)
        self.d.ellipse((x0, y0, x1, y1), fill=fill, outline=self.ink if line else None,
                       width=self.ow if line else 0)

    def poly(self, pts, fill, line=True):
        q = self.pts(pts)
        self.d.polygon(q, fill=fill, outline=self.ink if line else None, width=self.ow if line else 0)

    def line(self, pts, width, fill, outlined=True):
        q = self.pts(pts)
        w = max(1, round(width * self.s))
        if outlined:
            self.d.line(q, fill=self.ink, width=w + 2 * self.ow, joint="curve")
            for x, y in (q[0], q[-1]):
                r = (w + 2 * self.ow) / 2
                self.d.ellipse((x - r, y - r, x + r, y + r), fill=self.ink)
        self.d.line(q, fill=fill, width=w, joint="curve")
        for x, y in (q[0], q[-1]):
            r = w / 2
            self.d.ellipse((x - r, y - r, x + r, y + r), fill=fill)

    def thin(self, pts, fill=None, width=None):
        self.d.line(self.pts(pts), fill=fill or self.ink, width=width or self.ow, joint="curve")

    def arc(self, cx, cy, rx, ry, start, end, fill=None, width=None):
        x0, y0 = self.p(cx - rx, cy - ry)
        x1, y1 = self.p(cx + rx, cy + ry)
        self.d.arc((x0, y0, x1, y1), start, end, fill=fill or self.ink, width=width or self.ow)


def curve(cx, cy, rx, ry, a0, a1, n=16):
    """Points on an ellipse from angle a0 to a1 (degrees, 0 = +x, 90 = down)."""
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / n)),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / n))) for i in range(n + 1)]


# ---------------------------------------------------------------------------------------------
# People


BUILD = {"slim": 1.55, "normal": 1.8, "broad": 2.2, "small": 1.45, "huge": 2.6}


def draw_back(pen, f, sh):
    if f.get("wings"):
        wc = rgb(f["wings"], 255)
        for side in (-1, 1):
            pen.poly([(side * 0.6, 2.2), (side * 3.6, -1.6), (side * 4.2, 0.2), (side * 1.0, 2.8)],
                     shade(wc, 1.3))
            pen.poly([(side * 0.8, 3.0), (side * 3.4, 3.6), (side * 3.0, 5.0), (side * 0.9, 3.6)],
                     shade(wc, 1.15))
            pen.thin([(side * 0.8, 2.4), (side * 3.7, -0.6)], shade(wc, 0.7))
    if f.get("dragon_wings"):
        wc = rgb(f["dragon_wings"])
        for side in (-1, 1):
            pen.poly([(side * 1.5, 2.0), (side * 4.4, -2.8), (side * 4.9, 0.5), (side * 4.2, 1.2),
                      (side * 4.4, 3.0), (side * 3.3, 2.6), (side * 3.2, 4.0), (side * 1.8, 3.2)], wc)
            pen.thin([(side * 1.6, 2.1), (side * 4.4, -2.6)], shade(wc, 0.6))
    if f.get("cape"):
        c = rgb(f["cape"])
        pen.poly([(-sh * 0.9, 1.6), (sh * 0.9, 1.6), (sh * 1.45, 8.0), (-sh * 1.45, 8.0)], shade(c, 0.8))
    if f.get("hair_style") in ("long", "braids", "long_wavy"):
        hc = rgb(f["hair"])
        pen.poly([(-1.05, -0.3), (1.05, -0.3), (1.25, 2.6), (0.9, 3.1), (-0.9, 3.1), (-1.25, 2.6)],
                 shade(hc, 0.8))
    if f.get("hair_style") == "tied":
        hc = rgb(f["hair"])
        pen.poly([(0.6, -0.6), (1.3, -0.3), (1.6, 1.6), (1.1, 2.4), (0.9, 0.6)], shade(hc, 0.85))
    item = f.get("item")
    ic = rgb(f.get("item_colour", "8d6e63"))
    x = sh + 0.55
    if item == "staff":
        pen.line([(x, -2.2), (x, 8.0)], 0.28, ic)
        pen.ell(x, -2.45, 0.42, 0.42, rgb(f.get("gem", "5dade2")))
        pen.ell(x - 0.12, -2.6, 0.12, 0.12, (255, 255, 255, 255), line=False)
    elif item == "ring_staff":
        pen.line([(x, -1.6), (x, 8.0)], 0.26, ic)
        pen.arc(x, -2.3, 0.7, 0.75, 0, 360, fill=style.OUTLINE, width=round(0.3 * pen.s))
        pen.arc(x, -2.3, 0.7, 0.75, 0, 360, fill=rgb("f4d03f"), width=round(0.18 * pen.s))
    elif item == "skull_staff":
        pen.line([(x, -1.6), (x, 8.0)], 0.28, ic)
        pen.ell(x, -2.1, 0.6, 0.62, rgb("ecf0e1"))
        pen.ell(x - 0.22, -2.1, 0.15, 0.18, rgb("58d68d"))
        pen.ell(x + 0.22, -2.1, 0.15, 0.18, rgb("58d68d"))
    elif item == "wand":
        pen.line([(x - 0.2, 0.4), (x, 5.2)], 0.18, ic)
        star(pen, x - 0.22, 0.1, 0.6, rgb("f7dc6f"))
    elif item == "spear":
        pen.line([(x, -2.6), (x, 8.0)], 0.22, ic)
        pen.poly([(x, -3.6), (x + 0.35, -2.5), (x, -2.2), (x - 0.35, -2.5)], rgb("d5d8dc"))
    elif item == "bow":
        pen.arc(x - 0.9, 2.2, 1.5, 4.2, -75, 75, fill=style.OUTLINE, width=round(0.34 * pen.s))
        pen.arc(x - 0.9, 2.2, 1.5, 4.2, -75, 75, fill=ic, width=round(0.2 * pen.s))
        top = (x - 0.9 + 1.5 * math.cos(math.radians(-75)), 2.2 + 4.2 * math.sin(math.radians(-75)))
        bot = (top[0], 2.2 - (top[1] - 2.2))
        pen.thin([top, bot], (230, 230, 220, 255), width=max(2, pen.ow // 2))


def star(pen, cx, cy, r, fill):
    pts = []
    for i in range(10):
        a = math.radians(-90 + 36 * i)
        rr = r if i % 2 == 0 else r * 0.45
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    pen.poly(pts, fill)


def draw_body(pen, f, sh):
    oc = rgb(f.get("outfit", "5d6d7e"))
    o2 = rgb(f.get("outfit2", f.get("outfit", "5d6d7e")))
    trim = rgb(f.get("trim", "f4d03f"))
    kind = f.get("wear", "tunic")
    skin = rgb(f.get("skin", "f5cba7"))
    hem = 8.0
    # arms behind the torso edge
    for side in (-1, 1):
        pen.poly([(side * (sh - 0.2), 2.0), (side * (sh + 0.45), 2.6), (side * (sh + 0.75), 5.6),
                  (side * (sh + 0.05), 5.7), (side * (sh - 0.35), 3.0)], shade(o2, 0.9))
        pen.ell(side * (sh + 0.42), 5.85, 0.42, 0.4, skin)
    shoulder = curve(0, 2.3, sh, 0.9, 180, 360, 20)
    body = shoulder + [(sh * 1.02, 3.0), (sh * 1.12, hem), (-sh * 1.12, hem), (-sh * 1.02, 3.0)]
    pen.poly(body, oc)
    right = [q for q in shoulder if q[0] >= 0.1]
    pen.poly([(0.1, 1.4)] + right + [(sh * 1.02, 3.0), (sh * 1.12, hem), (0.1, hem)], shade(oc, 0.86), line=False)
    left = [q for q in shoulder if q[0] <= -0.5]
    pen.poly(left + [(-0.5, 2.0), (-sh * 0.75, 3.4), (-sh * 1.0, 3.2)], shade(oc, 1.14), line=False)
    pen.poly(body, None)
    if kind == "armour":
        metal = rgb(f.get("metal", "c8ccd8"))
        pen.poly([(-sh * 0.8, 1.8), (sh * 0.8, 1.8), (sh * 0.85, 4.6), (0, 5.3), (-sh * 0.85, 4.6)], metal)
        pen.poly([(0.05, 1.85), (sh * 0.8, 1.8), (sh * 0.85, 4.6), (0.05, 5.25)], shade(metal, 0.85),
                 line=False)
        pen.thin([(0, 2.0), (0, 5.2)], shade(metal, 0.6))
        pen.arc(0, 1.8, sh * 0.55, 0.5, 0, 180, fill=shade(metal, 0.6))
        for side in (-1, 1):
            pen.ell(side * (sh - 0.05), 1.95, 0.75, 0.55, metal)
    elif kind == "robe":
        pen.poly([(-0.35, 1.6), (0.35, 1.6), (0.5, hem), (-0.5, hem)], trim)
        pen.thin([(0, 1.7), (0, hem)], shade(trim, 0.7))
    elif kind == "coat":
        pen.poly([(-0.9, 1.55), (0, 3.4), (0.9, 1.55), (0.5, 1.5), (0, 2.6), (-0.5, 1.5)], o2)
        pen.thin([(0, 3.4), (0, hem)])
        for y in (3.9, 4.6, 5.3):
            pen.ell(0.3, y, 0.09, 0.09, trim, line=False)
    elif kind == "dress":
        pen.poly([(-sh * 0.6, 1.6), (sh * 0.6, 1.6), (sh * 0.5, 2.4), (-sh * 0.5, 2.4)], trim)
        pen.thin([(-sh * 0.9, 4.0), (sh * 0.9, 4.0)], trim, width=pen.ow * 2)
    elif kind == "vest":
        shirt = rgb(f.get("shirt", "ecf0f1"))
        pen.poly([(-0.55, 1.5), (0.55, 1.5), (0.7, hem), (-0.7, hem)], shirt)
        pen.thin([(-0.55, 1.5), (-0.7, hem)])
        pen.thin([(0.55, 1.5), (0.7, hem)])
    elif kind == "apron":
        ap = rgb(f.get("apron", "ecf0f1"))
        pen.poly([(-sh * 0.6, 2.6), (sh * 0.6, 2.6), (sh * 0.75, hem), (-sh * 0.75, hem)], ap)
        pen.thin([(-sh * 0.6, 2.6), (-sh * 0.2, 1.5)])
        pen.thin([(sh * 0.6, 2.6), (sh * 0.2, 1.5)])
    elif kind == "fur":
        for i in range(7):
            x = -sh + i * sh / 3
            pen.poly([(x - 0.3, 1.9), (x + 0.3, 1.9), (x, 2.7)], shade(oc, 1.2), line=False)
    elif kind == "bones":
        for y in (2.4, 3.2, 4.0, 4.8):
            pen.line([(-sh * 0.55, y), (sh * 0.55, y)], 0.22, rgb("ecf0e1"))
        pen.line([(0, 2.0), (0, 5.4)], 0.26, rgb("ecf0e1"))
    # belt
    if kind in ("tunic", "coat", "vest", "armour", "fur"):
        belt = rgb(f.get("belt", "5d4037"))
        pen.poly([(-sh * 1.07, 5.35), (sh * 1.07, 5.35), (sh * 1.08, 5.8), (-sh * 1.08, 5.8)], belt)
        pen.poly([(-0.3, 5.3), (0.3, 5.3), (0.3, 5.85), (-0.3, 5.85)], trim)
    # collar / neck
    pen.poly([(-0.36, 0.7), (0.36, 0.7), (0.4, 1.7), (-0.4, 1.7)], shade(skin, 0.9))
    if f.get("scarf"):
        sc = rgb(f["scarf"])
        pen.poly([(-1.0, 1.35), (1.0, 1.35), (0.9, 1.95), (-0.9, 1.95)], sc)
        pen.poly([(0.3, 1.8), (0.8, 1.8), (0.9, 3.2), (0.45, 3.0)], shade(sc, 0.85))


def draw_front_items(pen, f, sh):
    item = f.get("item")
    ic = rgb(f.get("item_colour", "8d6e63"))
    side = -1
    hx = side * (sh + 0.42)
    if item == "sword":
        blade = rgb("e5e8e8")
        pen.poly([(hx - 0.18, 5.4), (hx - 0.22, 0.2), (hx, -0.5), (hx + 0.22, 0.2), (hx + 0.18, 5.4)], blade)
        pen.thin([(hx, -0.2), (hx, 5.3)], shade(blade, 0.7))
        pen.line([(hx - 0.75, 5.45), (hx + 0.75, 5.45)], 0.25, rgb("f4d03f"))
        pen.line([(hx, 5.6), (hx, 6.6)], 0.24, rgb("6e2c00"))
        pen.ell(hx, 5.85, 0.42, 0.4, rgb(f.get("skin", "f5cba7")))
    elif item in ("axe", "hammer"):
        pen.line([(hx, 1.4), (hx, 6.8)], 0.26, ic)
        head = rgb("aab7b8")
        if item == "axe":
            pen.poly([(hx, 1.6), (hx - 1.4, 0.9), (hx - 1.6, 2.4), (hx - 1.3, 3.4), (hx, 2.8)], head)
            pen.thin([(hx - 1.45, 1.0), (hx - 1.4, 3.3)], shade(head, 1.3))
        else:
            pen.poly([(hx - 0.95, 0.9), (hx + 0.95, 0.9), (hx + 0.95, 2.3), (hx - 0.95, 2.3)], rgb("95a5a6"))
        pen.ell(hx, 5.85, 0.42, 0.4, rgb(f.get("skin", "f5cba7")))
    elif item == "dagger":
        blade = rgb("e5e8e8")
        pen.poly([(hx - 0.14, 5.4), (hx - 0.16, 3.6), (hx, 3.1), (hx + 0.16, 3.6), (hx + 0.14, 5.4)], blade)
        pen.line([(hx - 0.4, 5.45), (hx + 0.4, 5.45)], 0.18, rgb("6e4b3a"))
        pen.ell(hx, 5.85, 0.42, 0.4, rgb(f.get("skin", "f5cba7")))
    elif item == "book":
        bc = rgb(f.get("item_colour", "922b21"))
        pen.poly([(-1.3, 3.6), (1.3, 3.6), (1.4, 5.4), (-1.4, 5.4)], bc)
        pen.poly([(-1.15, 3.75), (1.15, 3.75), (1.2, 5.15), (-1.2, 5.15)], rgb("fdfefe"))
        pen.thin([(0, 3.7), (0, 5.3)])
        for y in (4.1, 4.45, 4.8):
            pen.thin([(-0.95, y), (-0.2, y)], (150, 150, 160, 255))
            pen.thin([(0.2, y), (0.95, y)], (150, 150, 160, 255))
    elif item == "orb":
        pen.ell(0, 3.3, 0.95, 0.95, rgb(f.get("gem", "48c9b0"), 255))
        pen.ell(-0.3, 2.95, 0.3, 0.25, (255, 255, 255, 255), line=False)
        pen.poly([(-0.9, 4.15), (0.9, 4.15), (1.1, 4.6), (-1.1, 4.6)], rgb("d4ac0d"))
    elif item == "lute":
        lc = rgb("ca6f1e")
        pen.ell(0.4, 4.6, 1.1, 1.0, lc)
        pen.ell(0.4, 4.6, 0.3, 0.3, shade(lc, 0.4))
        pen.line([(0.4, 4.0), (-1.6, 1.6)], 0.3, shade(lc, 0.7))
    if f.get("shield"):
        sc = rgb(f["shield"])
        pen.ell(-sh - 0.2, 4.2, 1.45, 1.55, sc)
        pen.ell(-sh - 0.2, 4.2, 1.1, 1.2, shade(sc, 1.15))
        pen.ell(-sh - 0.2, 4.2, 0.35, 0.35, rgb("bdc3c7"))


def draw_ears(pen, f, skin):
    ears = f.get("ears", "round")
    for side in (-1, 1):
        if ears == "pointed":
            pen.poly([(side * 0.82, -0.15), (side * 1.75, -0.75), (side * 0.9, 0.45)], skin)
        elif ears == "long":
            pen.poly([(side * 0.82, -0.2), (side * 2.3, -0.55), (side * 0.9, 0.5)], skin)
            pen.poly([(side * 1.0, -0.1), (side * 2.0, -0.45), (side * 1.0, 0.3)], shade(skin, 0.8), line=False)
        elif ears == "none":
            pass
        else:
            pen.ell(side * 0.9, 0.15, 0.22, 0.3, skin)


def draw_eyes(pen, f, y=0.1, dx=0.36, size=1.0):
    eye = rgb(f.get("eyes", "2e4053"))
    mood = f.get("face", "young")
    if f.get("eye_glow"):
        g = rgb(f["eye_glow"])
        for side in (-1, 1):
            pen.poly([(side * (dx - 0.2), y - 0.05), (side * (dx + 0.22), y - 0.12),
                      (side * (dx + 0.15), y + 0.12), (side * (dx - 0.15), y + 0.1)], g, line=False)
        return
    for side in (-1, 1):
        x = side * dx
        if mood in ("old", "kind") and not f.get("open_eyes"):
            pen.arc(x, y + 0.05, 0.16 * size, 0.1 * size, 200, 340, width=round(pen.ow * 1.3))
            continue
        pen.ell(x, y, 0.17 * size, 0.21 * size, (255, 255, 255, 255), line=True)
        pen.ell(x + side * 0.02, y + 0.03, 0.12 * size, 0.15 * size, eye, line=False)
        pen.ell(x + side * 0.02, y + 0.05, 0.06 * size, 0.08 * size, style.OUTLINE, line=False)
        pen.ell(x - 0.04, y - 0.04, 0.04 * size, 0.04 * size, (255, 255, 255, 255), line=False)
    # brows
    bc = rgb(f.get("brows", f.get("hair", "4a3728")))
    for side in (-1, 1):
        x = side * dx
        if mood in ("stern", "evil"):
            pen.thin([(x - side * 0.22, y - 0.22), (x + side * 0.2, y - 0.34)], bc, width=round(pen.ow * 1.4))
        else:
            pen.thin([(x - 0.18, y - 0.3), (x, y - 0.36), (x + 0.18, y - 0.3)], bc, width=round(pen.ow * 1.2))


def draw_mouth(pen, f):
    mood = f.get("face", "young")
    if mood in ("grin",):
        pen.poly([(-0.32, 0.55), (0.32, 0.55), (0.18, 0.75), (-0.18, 0.75)], (250, 250, 250, 255))
    elif mood in ("evil",):
        pen.arc(0, 0.75, 0.25, 0.12, 200, 340)
    elif mood in ("stern",):
        pen.thin([(-0.18, 0.62), (0.18, 0.62)])
    else:
        pen.arc(0, 0.5, 0.22, 0.16, 30, 150)


def draw_hair_front(pen, f):
    st = f.get("hair_style", "short")
    if "hair" not in f or f.get("head") in ("bear", "skull", "golem"):
        return
    if st in ("bald", "none") or f.get("headgear") in ("hood", "helm", "veil_hood"):
        if st == "bald" and f.get("hair"):
            hc = rgb(f["hair"])
            for side in (-1, 1):
                pen.poly([(side * 0.82, -0.35), (side * 0.98, -0.2), (side * 0.95, 0.35), (side * 0.8, 0.2)], hc)
        return
    hc = rgb(f["hair"])
    top = [(-0.98, 0.0), (-1.0, -0.55), (-0.7, -1.0), (0, -1.15), (0.7, -1.0), (1.0, -0.55), (0.98, 0.0)]
    if st == "spiky":
        pts = [(-1.0, 0.05), (-1.25, -0.8), (-0.7, -0.85), (-0.6, -1.45), (-0.15, -1.05), (0.1, -1.6),
               (0.4, -1.05), (0.8, -1.35), (0.75, -0.8), (1.25, -0.7), (1.0, 0.05), (0.7, -0.45),
               (0.3, -0.3), (0, -0.5), (-0.35, -0.3), (-0.7, -0.45)]
        pen.poly(pts, hc)
        return
    fringe = [(0.98, 0.0), (0.75, -0.45), (0.45, -0.3), (0.15, -0.5), (-0.2, -0.3), (-0.5, -0.5),
              (-0.8, -0.3), (-0.98, 0.0)]
    pen.poly(top + fringe, hc)
    pen.thin([(-0.5, -0.85), (-0.1, -1.05)], shade(hc, 1.35), width=round(pen.ow * 1.5))
    if st in ("long", "long_wavy", "braids"):
        for side in (-1, 1):
            if st == "braids":
                for i in range(4):
                    pen.ell(side * 1.05, 0.4 + i * 0.55, 0.3, 0.32, hc)
            else:
                pen.poly([(side * 0.8, -0.4), (side * 1.08, -0.2), (side * 1.2, 2.2), (side * 0.85, 2.0),
                          (side * 0.78, 0.6)], hc)
    if st == "bun":
        pen.ell(0, -1.3, 0.5, 0.38, hc)
    if st == "tied":
        pen.ell(0.85, -0.5, 0.2, 0.2, rgb(f.get("trim", "c0392b")))


def draw_beard(pen, f):
    b = f.get("beard")
    if not b:
        return
    bc = rgb(f.get("beard_colour", f.get("hair", "7f8c8d")))
    if b == "long":
        pen.poly([(-0.88, 0.1), (-0.6, 0.9), (-0.7, 1.6), (-0.3, 2.6), (0, 3.1), (0.3, 2.6), (0.7, 1.6),
                  (0.6, 0.9), (0.88, 0.1), (0.5, 0.6), (0, 0.55), (-0.5, 0.6)], bc)
        pen.thin([(-0.2, 1.2), (-0.15, 2.2)], shade(bc, 0.8))
        pen.thin([(0.2, 1.2), (0.15, 2.2)], shade(bc, 0.8))
    elif b == "braided":
        pen.poly([(-0.88, 0.1), (-0.7, 1.0), (0, 1.4), (0.7, 1.0), (0.88, 0.1), (0.4, 0.6), (-0.4, 0.6)], bc)
        for i in range(3):
            pen.ell(0, 1.55 + i * 0.42, 0.26, 0.24, bc)
    elif b == "short":
        pen.poly([(-0.9, 0.05), (-0.75, 0.85), (0, 1.15), (0.75, 0.85), (0.9, 0.05), (0.45, 0.55), (-0.45, 0.55)],
                 bc)
    elif b == "stubble":
        pen.poly([(-0.8, 0.35), (-0.55, 0.85), (0, 1.0), (0.55, 0.85), (0.8, 0.35), (0.4, 0.7), (-0.4, 0.7)],
                 shade(rgb(f.get("skin", "f5cba7")), 0.75), line=False)
    if b in ("long", "braided", "short", "moustache"):
        pen.poly([(-0.55, 0.55), (-0.1, 0.42), (0, 0.5), (0.1, 0.42), (0.55, 0.55), (0.3, 0.66), (0, 0.6),
                  (-0.3, 0.66)], shade(bc, 0.9))


def draw_headgear(pen, f):
    hg = f.get("headgear")
    if not hg:
        return
    c = rgb(f.get("hg_colour", "7f8c8d"))
    if hg in ("helmet", "horned"):
        if hg == "horned":
            for side in (-1, 1):
                pen.poly([(side * 0.7, -0.8), (side * 1.8, -1.6), (side * 1.9, -2.4), (side * 1.35, -1.5),
                          (side * 0.85, -0.35)], rgb("fdebd0"))
        pen.poly(curve(0, -0.35, 1.08, 1.0, 180, 360) + [(1.1, -0.2), (-1.1, -0.2)], c)
        pen.poly([(-1.12, -0.45), (1.12, -0.45), (1.12, -0.16), (-1.12, -0.16)], shade(c, 0.8))
        pen.poly([(-0.09, -0.3), (0.09, -0.3), (0.07, 0.42), (-0.07, 0.42)], shade(c, 0.8))
        pen.thin([(-0.5, -0.9), (-0.1, -1.1)], shade(c, 1.4), width=round(pen.ow * 1.4))
    elif hg in ("witch_hat", "tall_hat"):
        tall = 3.4 if hg == "witch_hat" else 3.0
        tip = 0.9 if hg == "witch_hat" else 0.1
        pen.poly([(-0.85, -0.75), (0.85, -0.75), (tip + 0.15, -0.75 - tall), (tip - 0.1, -0.7 - tall)], c)
        band = rgb(f.get("hg_band", "f5b041"))
        pen.poly([(-0.86, -0.75), (0.86, -0.75), (0.78, -1.15), (-0.78, -1.15)], band)
        if hg == "witch_hat":
            pen.ell(0, -0.72, 2.0, 0.35, shade(c, 0.9))
        else:
            pen.ell(0, -0.72, 1.25, 0.25, shade(c, 0.9))
            star(pen, 0.05, -2.0, 0.32, rgb("f7dc6f"))
    elif hg in ("crown", "tiara", "spiked_crown"):
        gold = rgb(f.get("hg_colour", "f4d03f"))
        if hg == "tiara":
            pen.poly([(-0.8, -0.75), (-0.3, -0.95), (0, -1.35), (0.3, -0.95), (0.8, -0.75), (0.7, -0.6),
                      (-0.7, -0.6)], gold)
            pen.ell(0, -1.0, 0.13, 0.13, rgb("e74c3c"))
        elif hg == "crown":
            pen.poly([(-0.95, -0.55), (-1.0, -1.55), (-0.55, -1.05), (-0.3, -1.75), (0, -1.15), (0.3, -1.75),
                      (0.55, -1.05), (1.0, -1.55), (0.95, -0.55)], gold)
            for x in (-0.5, 0, 0.5):
                pen.ell(x, -0.8, 0.12, 0.12, rgb("c0392b"))
        else:
            pts = [(-1.05, -0.3)]
            for i in range(7):
                x = -1.0 + i * (2.0 / 6)
                pts += [(x - 0.12, -0.7), (x, -1.9 + (0.4 if i % 2 else 0)), (x + 0.12, -0.7)]
            pts += [(1.05, -0.3)]
            pen.poly(pts, gold)
    elif hg == "turban":
        pen.ell(0, -0.85, 1.2, 0.72, c)
        pen.thin([(-1.0, -0.8), (0.2, -1.4), (1.0, -0.9)], shade(c, 0.7))
        pen.ell(0, -0.95, 0.2, 0.2, rgb("f4d03f"))
    elif hg == "cap":
        pen.poly(curve(0, -0.35, 1.0, 0.85, 180, 360), c)
        pen.poly([(-1.05, -0.38), (1.5, -0.38), (1.5, -0.15), (-1.05, -0.15)], shade(c, 0.8))
    elif hg == "bandana":
        pen.poly(curve(0, -0.25, 1.02, 0.95, 180, 360) + [(1.02, -0.2), (-1.02, -0.2)], c)
        pen.poly([(0.9, -0.45), (1.6, -0.2), (1.4, 0.35), (1.0, -0.05)], c)
        for x in (-0.5, 0.1, 0.6):
            pen.ell(x, -0.6, 0.09, 0.09, (250, 250, 250, 255), line=False)
    elif hg == "straw":
        pen.ell(0, -0.5, 1.9, 0.42, c)
        pen.poly(curve(0, -0.55, 0.95, 0.8, 180, 360), shade(c, 0.9))
        pen.thin([(-0.95, -0.6), (0.95, -0.6)], rgb("c0392b"), width=pen.ow * 2)
    elif hg == "feather_cap":
        pen.poly(curve(0, -0.4, 1.05, 0.8, 180, 360) + [(1.3, -0.35), (-1.05, -0.35)], c)
        pen.poly([(0.5, -0.9), (1.5, -2.2), (1.7, -2.0), (0.8, -0.7)], rgb("ecf0f1"))
    elif hg == "helm":
        # a closed helmet: the face is a dark slit with glowing eyes
        pen.poly(curve(0, 0.0, 1.1, 1.2, 180, 360) + [(1.1, 0.5), (0.8, 1.25), (-0.8, 1.25), (-1.1, 0.5)], c)
        pen.poly([(-0.75, -0.05), (0.75, -0.05), (0.6, 0.35), (-0.6, 0.35)], (10, 8, 14, 255))
        pen.thin([(0, 0.4), (0, 1.2)], shade(c, 0.6))
        if f.get("eye_glow"):
            g = rgb(f["eye_glow"])
            for side in (-1, 1):
                pen.poly([(side * 0.15, 0.05), (side * 0.55, 0.02), (side * 0.5, 0.22), (side * 0.18, 0.24)], g,
                         line=False)


def head_outline(n=36):
    """A face a little narrower towards the chin than an ellipse."""
    pts = []
    for i in range(n):
        a = math.radians(360 * i / n)
        sa = math.sin(a)
        narrow = 1 - 0.14 * max(0.0, sa)
        pts.append((0.92 * math.cos(a) * narrow, (1.02 if sa > 0 else 1.0) * sa))
    return pts


def draw_head(pen, f):
    skin = rgb(f.get("skin", "f5cba7"))
    head = f.get("head", "human")
    if head == "bear":
        fur = rgb(f.get("fur", "7b4a2a"))
        for side in (-1, 1):
            pen.ell(side * 0.9, -0.85, 0.42, 0.42, fur)
            pen.ell(side * 0.9, -0.85, 0.22, 0.22, shade(fur, 1.4), line=False)
        pen.ell(0, 0, 1.15, 1.05, fur)
        pen.ell(0, 0.5, 0.58, 0.45, rgb("f0b27a"))
        pen.ell(0, 0.3, 0.2, 0.15, style.OUTLINE, line=False)
        pen.arc(0, 0.55, 0.18, 0.12, 20, 160)
        for side in (-1, 1):
            pen.ell(side * 0.42, -0.15, 0.1, 0.12, style.OUTLINE, line=False)
            pen.ell(side * 0.42 - 0.03, -0.19, 0.03, 0.03, (255, 255, 255, 255), line=False)
        return
    if head == "skull":
        bone = rgb("ecf0e1")
        pen.ell(0, -0.1, 0.95, 0.95, bone)
        pen.poly([(-0.55, 0.5), (0.55, 0.5), (0.45, 1.15), (-0.45, 1.15)], bone)
        for side in (-1, 1):
            pen.ell(side * 0.36, 0.05, 0.25, 0.28, (20, 12, 24, 255), line=False)
            pen.ell(side * 0.36, 0.08, 0.11, 0.11, rgb(f.get("eye_glow", "58d68d")), line=False)
        pen.poly([(0, 0.35), (-0.1, 0.55), (0.1, 0.55)], (20, 12, 24, 255), line=False)
        for x in (-0.3, -0.1, 0.1, 0.3):
            pen.thin([(x, 0.85), (x, 1.1)])
        return
    if head == "golem":
        stone = rgb(f.get("stone", "95a5a6"))
        pen.poly([(-1.0, -1.0), (1.0, -1.05), (1.1, 0.9), (-1.05, 0.95)], stone)
        pen.poly([(0.05, -1.02), (1.0, -1.05), (1.1, 0.9), (0.05, 0.92)], shade(stone, 0.85), line=False)
        pen.thin([(-0.6, -0.6), (-0.2, -0.3), (-0.4, 0.2)], shade(stone, 0.6))
        for side in (-1, 1):
            pen.poly([(side * 0.2, -0.05), (side * 0.7, -0.1), (side * 0.65, 0.15), (side * 0.22, 0.18)],
                     rgb("85c1e9"), line=False)
        pen.poly([(-0.35, 0.55), (0.35, 0.55), (0.3, 0.7), (-0.3, 0.7)], shade(stone, 0.5), line=False)
        return
    draw_ears(pen, f, skin)
    face = head_outline()
    pen.poly(face, skin)
    pen.poly([(x * 0.7 + 0.28, y * 0.85 + 0.08) for x, y in face if x > -0.2], shade(skin, 0.95), line=False)
    if f.get("hair") and f.get("hair_style", "short") not in ("bald", "none") and not f.get("headgear"):
        # the fringe's shadow on the forehead
        pen.poly(curve(0, -0.3, 0.86, 0.45, 180, 360), shade(skin, 0.88), line=False)
    pen.poly(face, None)
    if f.get("face") in ("young", "kind", "grin") and head == "human":
        for side in (-1, 1):
            pen.ell(side * 0.55, 0.45, 0.18, 0.1, mix(skin, (240, 120, 120), 0.45), line=False)
    if f.get("face") == "old":
        for side in (-1, 1):
            pen.thin([(side * 0.62, 0.35), (side * 0.5, 0.6)], shade(skin, 0.7))
    draw_eyes(pen, f)
    if head == "orc":
        pen.ell(0, 0.42, 0.26, 0.18, shade(skin, 0.8))
        for side in (-1, 1):
            pen.poly([(side * 0.3, 0.75), (side * 0.42, 0.35), (side * 0.5, 0.78)], rgb("fdfefe"))
        pen.thin([(-0.35, 0.8), (0.35, 0.8)])
    elif head == "troll":
        pen.poly([(-0.12, 0.05), (0.12, 0.05), (0.3, 0.8), (0, 0.95), (-0.3, 0.8)], shade(skin, 0.9))
        pen.arc(0, 1.0, 0.35, 0.1, 200, 340)
    elif head == "goblin":
        pen.poly([(0, 0.2), (0.15, 0.55), (-0.1, 0.55)], shade(skin, 0.8))
        pen.poly([(-0.35, 0.7), (0.35, 0.7), (0.2, 0.82), (-0.2, 0.82)], (250, 250, 250, 255))
    else:
        pen.thin([(0.02, 0.3), (0.08, 0.42), (0, 0.46)], shade(skin, 0.65))
        draw_mouth(pen, f)
    if f.get("glasses"):
        for side in (-1, 1):
            pen.arc(side * 0.36, 0.12, 0.26, 0.24, 0, 360, width=round(pen.ow * 1.2))
        pen.thin([(-0.1, 0.1), (0.1, 0.1)])
    if f.get("eyepatch"):
        pen.ell(0.36, 0.12, 0.24, 0.24, style.OUTLINE)
        pen.thin([(-0.9, -0.45), (0.9, -0.1)])
    if f.get("mask"):
        mc = rgb(f["mask"])
        pen.poly([(-0.92, 0.3), (0.92, 0.3), (0.75, 0.9), (0, 1.05), (-0.75, 0.9)], mc)


def draw_person(pen, f):
    sh = BUILD[f.get("build", "normal")]
    hood = f.get("headgear") in ("hood", "veil_hood")
    draw_back(pen, f, sh)
    if hood:
        c = rgb(f.get("hg_colour", "7f8c8d"))
        pen.poly(curve(0, -0.05, 1.3, 1.35, 150, 390) + [(1.55, 2.0), (-1.55, 2.0)], shade(c, 0.85))
    draw_body(pen, f, sh)
    draw_head(pen, f)
    draw_beard(pen, f)
    draw_hair_front(pen, f)
    if hood:
        c = rgb(f.get("hg_colour", "7f8c8d"))
        pen.poly(curve(0, -0.05, 1.3, 1.35, 160, 380) + curve(0, 0.1, 0.94, 1.0, 380, 160), c)
        if f["headgear"] == "veil_hood":
            pen.poly([(-0.92, 0.38), (0.92, 0.38), (0.8, 1.05), (-0.8, 1.05)], shade(c, 1.3))
    else:
        draw_headgear(pen, f)
    draw_front_items(pen, f, sh)


# ---------------------------------------------------------------------------------------------
# Creatures


def draw_canine(pen, f):
    fur = rgb(f.get("fur", "7f8c8d"))
    light = rgb(f.get("fur2", "d5d8dc"))
    eye = rgb(f.get("eyes", "f4d03f"))
    # a sitting body behind the head: haunches, chest ruff and two front legs
    pen.ell(-1.9, 5.6, 1.5, 1.9, shade(fur, 0.8))
    pen.ell(1.9, 5.6, 1.5, 1.9, shade(fur, 0.8))
    pen.poly(curve(0, 2.6, 1.9, 1.4, 180, 360) + [(2.0, 8.0), (-2.0, 8.0)], fur)
    ruff = [(-1.5, 1.4), (-0.9, 2.2), (-1.2, 3.0), (-0.5, 3.1), (-0.6, 4.0), (0, 3.6), (0.6, 4.0), (0.5, 3.1),
            (1.2, 3.0), (0.9, 2.2), (1.5, 1.4)]
    pen.poly(ruff, light)
    for side in (-1, 1):
        pen.poly([(side * 0.35, 4.0), (side * 1.15, 4.0), (side * 1.1, 7.2), (side * 0.4, 7.2)], fur)
        pen.ell(side * 0.8, 7.25, 0.55, 0.32, light)
        pen.thin([(side * 0.75, 7.1), (side * 0.75, 7.5)])
    if f.get("scarf"):
        sc = rgb(f["scarf"])
        pen.poly([(-1.45, 1.3), (1.45, 1.3), (1.3, 2.05), (-1.3, 2.05)], sc)
        pen.poly([(0.5, 1.9), (1.1, 1.9), (1.25, 3.5), (0.65, 3.2)], shade(sc, 0.8))
    for side in (-1, 1):
        pen.poly([(side * 0.45, -0.9), (side * 1.25, -2.1), (side * 1.2, -0.3)], fur)
        pen.poly([(side * 0.65, -0.85), (side * 1.1, -1.65), (side * 1.05, -0.55)], rgb("f1948a"), line=False)
    pen.poly([(-1.25, -0.6), (-0.6, -1.05), (0.6, -1.05), (1.25, -0.6), (1.35, 0.5), (0.7, 1.2), (-0.7, 1.2),
              (-1.35, 0.5)], fur)
    pen.poly([(-0.55, 0.1), (0.55, 0.1), (0.7, 1.0), (0.3, 1.55), (-0.3, 1.55), (-0.7, 1.0)], light)
    pen.ell(0, 0.55, 0.28, 0.2, style.OUTLINE)
    pen.ell(-0.08, 0.5, 0.08, 0.05, (200, 200, 200, 255), line=False)
    if f.get("fangs"):
        pen.arc(0, 1.1, 0.38, 0.25, 10, 170)
        for side in (-1, 1):
            pen.poly([(side * 0.22, 1.2), (side * 0.3, 1.5), (side * 0.38, 1.18)], (255, 255, 255, 255))
    else:
        pen.arc(0, 0.95, 0.25, 0.18, 20, 160)
    for side in (-1, 1):
        pen.poly([(side * 0.2, -0.25), (side * 0.72, -0.38), (side * 0.65, -0.05), (side * 0.25, 0.0)], eye)
        pen.ell(side * 0.48, -0.18, 0.07, 0.1, style.OUTLINE, line=False)


def draw_boar(pen, f):
    fur = rgb(f.get("fur", "6e2c00"))
    pen.ell(0, 3.6, 3.0, 3.4, shade(fur, 0.85))
    for i in range(9):
        x = -1.6 + i * 0.4
        pen.poly([(x - 0.2, -0.6), (x, -1.5 - (i % 2) * 0.3), (x + 0.2, -0.6)], shade(fur, 0.7))
    for side in (-1, 1):
        pen.poly([(side * 0.9, -0.6), (side * 1.7, -1.2), (side * 1.5, 0.0)], fur)
    pen.ell(0, 0.2, 1.5, 1.3, fur)
    pen.ell(0, 0.95, 0.75, 0.55, rgb("e59866"))
    for side in (-1, 1):
        pen.ell(side * 0.25, 0.95, 0.12, 0.17, style.OUTLINE, line=False)
        pen.poly([(side * 0.6, 1.2), (side * 1.05, 0.2), (side * 0.85, 1.4)], rgb("fdfefe"))
        pen.ell(side * 0.6, -0.15, 0.14, 0.12, rgb("f4d03f"))
        pen.ell(side * 0.6, -0.15, 0.06, 0.06, style.OUTLINE, line=False)
        pen.thin([(side * 0.9, -0.5), (side * 0.35, -0.3)], width=round(pen.ow * 1.5))


def draw_wisp(pen, f):
    c = rgb(f.get("flame", "48c9b0"))
    outer = [(0, -3.6), (0.6, -2.2), (1.4, -2.7), (1.3, -1.2), (2.0, -0.6), (1.9, 1.2), (1.2, 2.4), (0, 2.9),
             (-1.2, 2.4), (-1.9, 1.2), (-2.0, -0.4), (-1.4, -1.0), (-1.5, -2.4), (-0.7, -1.8)]
    pen.poly(outer, c)
    inner = [(x * 0.62, y * 0.62 + 0.6) for x, y in outer]
    pen.poly(inner, shade(c, 1.45), line=False)
    pen.poly([(x * 0.3, y * 0.3 + 1.1) for x, y in outer], (250, 255, 250, 255), line=False)
    for side in (-1, 1):
        pen.ell(side * 0.55, 0.4, 0.22, 0.32, style.OUTLINE, line=False)
        pen.ell(side * 0.55 - 0.06, 0.3, 0.07, 0.08, (255, 255, 255, 255), line=False)
    pen.arc(0, 1.1, 0.3, 0.2, 20, 160)


def draw_dragon(pen, f):
    c = rgb(f.get("scales", "c0392b"))
    belly = rgb(f.get("belly", "f39c12"))
    draw_back(pen, {"dragon_wings": f.get("wing", "922b21")}, 2.0)
    pen.poly([(-1.6, 1.0), (1.6, 1.0), (2.6, 8.0), (-2.6, 8.0)], c)
    pen.poly([(-0.9, 1.4), (0.9, 1.4), (1.3, 8.0), (-1.3, 8.0)], belly)
    for y in (2.4, 3.4, 4.4, 5.4, 6.4):
        pen.thin([(-1.0 - y * 0.05, y), (1.0 + y * 0.05, y)], shade(belly, 0.75))
    for side in (-1, 1):
        pen.poly([(side * 0.5, -0.7), (side * 1.2, -2.6), (side * 0.95, -0.5)], rgb("fdebd0"))
        pen.poly([(side * 0.9, -0.3), (side * 2.0, -1.2), (side * 1.2, 0.2)], shade(c, 0.8))
    pen.poly([(-1.1, -0.8), (1.1, -0.8), (1.3, 0.4), (0.9, 1.5), (-0.9, 1.5), (-1.3, 0.4)], c)
    pen.poly([(-0.75, 0.5), (0.75, 0.5), (0.65, 1.45), (-0.65, 1.45)], shade(c, 1.2))
    for side in (-1, 1):
        pen.ell(side * 0.3, 0.75, 0.09, 0.06, style.OUTLINE, line=False)
        pen.poly([(side * 0.15, -0.25), (side * 0.75, -0.45), (side * 0.7, -0.05), (side * 0.2, 0.0)],
                 rgb("f7dc6f"))
        pen.ell(side * 0.45, -0.2, 0.05, 0.12, style.OUTLINE, line=False)
    for x in (-0.45, -0.2, 0.2, 0.45):
        pen.poly([(x - 0.07, 1.35), (x, 1.6), (x + 0.07, 1.35)], (255, 255, 255, 255))


def draw_golem(pen, f):
    stone = rgb(f.get("stone", "95a5a6"))
    for side in (-1, 1):
        pen.poly([(side * 1.4, 1.2), (side * 3.2, 1.0), (side * 3.4, 3.2), (side * 1.6, 3.4)], shade(stone, 0.9))
        pen.poly([(side * 2.2, 3.2), (side * 3.3, 3.2), (side * 3.5, 7.0), (side * 2.3, 7.2)], stone)
    pen.poly([(-2.1, 1.3), (2.1, 1.2), (2.3, 8.0), (-2.3, 8.0)], stone)
    pen.poly([(0.05, 1.25), (2.1, 1.2), (2.3, 8.0), (0.05, 8.0)], shade(stone, 0.85), line=False)
    pen.thin([(-1.5, 2.5), (-0.6, 3.2), (-1.0, 4.5)], shade(stone, 0.6))
    pen.poly([(-0.5, 3.4), (0.5, 3.4), (0.6, 4.3), (-0.6, 4.3)], rgb("5dade2"), line=False)
    draw_head(pen, {"head": "golem", "stone": f.get("stone", "95a5a6")})


def top_extent(f):
    """How far the figure reaches above the centre of its head, in head radii."""
    kind = f.get("kind", "person")
    if kind == "wisp":
        return 3.7
    if kind in ("canine", "dragon"):
        return 2.6
    return {"witch_hat": 4.2, "tall_hat": 3.9, "horned": 2.6, "crown": 1.9, "spiked_crown": 2.0,
            "feather_cap": 2.3, "tiara": 1.5}.get(f.get("headgear"), 1.35)


def draw_figure(pen, f):
    kind = f.get("kind", "person")
    {"person": draw_person, "canine": draw_canine, "boar": draw_boar, "wisp": draw_wisp,
     "dragon": draw_dragon, "golem": draw_golem}[kind](pen, f)


# ---------------------------------------------------------------------------------------------
# Framing

def render(f, size, head_r, head_xy, outline=1.0):
    """The figure on a transparent layer of `size`, with a head of radius head_r pixels centred on
    head_xy; a dark outline of about `outline` pixels rings the silhouette."""
    w, h = size
    big = Image.new("RGBA", (w * SUPER, h * SUPER), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    pen = Pen(d, head_r * SUPER, head_xy[0] * SUPER, head_xy[1] * SUPER, outline * SUPER * 0.9)
    draw_figure(pen, f)
    small = big.resize((w, h), Image.LANCZOS)
    # ring the silhouette with the outline colour
    a = small.getchannel("A").point(lambda v: 255 if v >= 100 else 0)
    ring = a.filter(ImageFilter.MaxFilter(3))
    base = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    base.paste(style.OUTLINE, (0, 0), ring)
    base.alpha_composite(small)
    return base


# ---------------------------------------------------------------------------------------------
# The cast (ids and colours as content/art/roster.tsv gives them)

CAST = {
    # the knight's party
    "leon": dict(skin="f5cba7", hair="f4d03f", hair_style="short", eyes="2e86c1", wear="armour", metal="c8ccd8",
                 outfit="c0392b", outfit2="c8ccd8", cape="c0392b", item="sword", face="young"),
    "borg": dict(skin="e0ac69", hair="8e5b3a", beard="braided", beard_colour="a04000", headgear="horned",
                 hg_colour="7f8c8d", build="broad", wear="tunic", outfit="a0522d", outfit2="7f8c8d", item="axe",
                 face="stern", eyes="4a3728"),
    "cecilia": dict(skin="fae5d3", hair="5dade2", hair_style="long", eyes="1f618d", wear="robe", outfit="ecf0f1",
                    outfit2="d6eaf8", trim="f4d03f", item="ring_staff", item_colour="f4d03f", face="kind",
                    open_eyes=True, build="slim"),
    "dain": dict(skin="e0ac69", hair="2c3e50", hair_style="spiky", eyes="4a3728", wear="tunic", outfit="27ae60",
                 outfit2="bdc3c7", item="spear", item_colour="a0522d", shield="a0522d", face="stern"),
    # the witch's party
    "mira": dict(skin="fae5d3", hair="e74c3c", hair_style="long", eyes="8e44ad", wear="robe", outfit="8e44ad",
                 outfit2="6c3483", trim="f5b041", headgear="witch_hat", hg_colour="6c3483", hg_band="f5b041",
                 item="wand", item_colour="6e2c00", face="grin", build="slim"),
    "garon": dict(head="bear", fur="7b4a2a", build="huge", wear="vest", outfit="5d4037", outfit2="7b4a2a",
                  shirt="a9744f", skin="7b4a2a", item="hammer", item_colour="6e2c00"),
    "tia": dict(skin="fdebd0", hair="58d68d", hair_style="short", eyes="1e8449", wear="dress", outfit="58d68d",
                outfit2="58d68d", trim="f7dc6f", wings="aed6f1", ears="pointed", build="small", face="grin"),
    "ragna": dict(skin="f0c8a0", hair="d5d8dc", hair_style="tied", eyes="2e4053", wear="coat", outfit="2e4053",
                  outfit2="1b2631", trim="85c1e9", item="sword", face="stern"),
    # the hunter's party
    "gald": dict(skin="d7a87a", hair="6e2c00", beard="stubble", headgear="hood", hg_colour="1e8449", eyes="6e2c00",
                 wear="tunic", outfit="196f3d", outfit2="6e2c00", cape="145a32", item="bow", item_colour="784212",
                 face="stern", build="broad"),
    "beck": dict(skin="f0b27a", hair="6e4b3a", hair_style="spiky", headgear="bandana", hg_colour="ca6f1e",
                 eyes="2c3e50", wear="vest", outfit="6e4b3a", outfit2="6e4b3a", shirt="2c3e50", item="dagger",
                 face="grin"),
    "noel": dict(skin="fae5d3", hair="f4d03f", hair_style="short", eyes="2874a6", glasses=True, headgear="cap",
                 hg_colour="2874a6", wear="robe", outfit="2874a6", outfit2="1f618d", trim="f4d03f", cape="1a5276",
                 item="book", item_colour="922b21", build="small", face="young"),
    "hayate": dict(kind="canine", fur="d0d3d4", fur2="f8f9f9", eyes="5dade2", scarf="2e86c1"),
    # opponents
    "dog": dict(kind="canine", fur="7f8c8d", fur2="aab7b8", eyes="e74c3c", fangs=True),
    "boar": dict(kind="boar", fur="6e2c00"),
    "goblin": dict(head="goblin", skin="52be80", ears="long", eyes="f4d03f", face="evil", wear="tunic",
                   outfit="922b21", outfit2="7b241c", headgear="hood", hg_colour="922b21", item="skull_staff",
                   item_colour="d5d8dc", build="small"),
    "wisp": dict(kind="wisp", flame="48c9b0"),
    "orc": dict(head="orc", skin="6b8e23", hair="2c3e50", hair_style="spiky", eyes="e74c3c", face="evil",
                wear="fur", outfit="5d4037", outfit2="6b8e23", build="broad", item="hammer", item_colour="5d4037"),
    "troll": dict(head="troll", skin="5d6d7e", hair="239b56", hair_style="bald", eyes="f4d03f", face="evil",
                  wear="fur", outfit="7d8c7a", outfit2="5d6d7e", build="broad", ears="pointed"),
    "dark_witch": dict(skin="d6dbdf", hair="1b1b2f", hair_style="long", eyes="bb8fce", face="evil",
                       headgear="hood", hg_colour="1b1b2f", wear="robe", outfit="1b1b2f", outfit2="4a235a",
                       trim="6c3483", item="staff", item_colour="4a235a", gem="bb8fce", build="slim"),
    "lich": dict(head="skull", eye_glow="58d68d", wear="bones", outfit="512e5f", outfit2="4a235a",
                 headgear="hood", hg_colour="512e5f", item="skull_staff", item_colour="784212", build="slim"),
    "selna": dict(skin="eaf2f8", hair="d6eaf8", hair_style="long", eyes="2e86c1", face="stern", wear="dress",
                  outfit="aed6f1", outfit2="d6eaf8", trim="5dade2", headgear="crown", hg_colour="d6eaf8",
                  item="staff", item_colour="aed6f1", gem="d6eaf8", build="slim"),
    "volg": dict(kind="dragon", scales="c0392b", belly="f39c12", wing="922b21"),
    "golem": dict(kind="golem", stone="95a5a6"),
    "shadow_king": dict(head="human", headgear="helm", hg_colour="273746", eye_glow="e74c3c", skin="1b2631",
                        wear="armour", metal="273746", outfit="17202a", outfit2="273746", cape="922b21",
                        item="sword", build="broad"),
    # people of the events
    "elder_sage": dict(skin="f0c8a0", hair="ecf0f1", hair_style="bald", beard="long", beard_colour="f2f3f4",
                       headgear="tall_hat", hg_colour="2e4a8a", hg_band="f1c40f", wear="robe", outfit="2e4a8a",
                       outfit2="1f3a6e", trim="f1c40f", item="staff", item_colour="784212", face="old"),
    "mayor": dict(skin="f0c8a0", hair="bdc3c7", hair_style="bald", beard="moustache", beard_colour="bdc3c7",
                  wear="vest", outfit="a0522d", outfit2="784212", shirt="ecf0f1", face="kind", build="broad"),
    "innkeeper": dict(skin="fae5d3", hair="a04000", hair_style="braids", eyes="6e2c00", wear="apron",
                      outfit="27ae60", outfit2="1e8449", apron="fdfefe", face="young", build="slim"),
    "merchant": dict(skin="d7a87a", hair="2c3e50", hair_style="short", beard="moustache", beard_colour="2c3e50",
                     headgear="turban", hg_colour="c0392b", wear="vest", outfit="784212", outfit2="c0392b",
                     shirt="f4d03f", face="grin", build="broad"),
    "seer": dict(skin="e0ac69", hair="1b1b2f", hair_style="long", eyes="48c9b0", headgear="veil_hood",
                 hg_colour="6c3483", wear="robe", outfit="6c3483", outfit2="4a235a", trim="f4d03f", item="orb",
                 gem="48c9b0", build="slim"),
    "soldier": dict(skin="f0c8a0", hair="4a3728", headgear="helmet", hg_colour="bdc3c7", wear="armour",
                    metal="bdc3c7", outfit="2e86c1", outfit2="bdc3c7", item="spear", item_colour="784212",
                    face="stern"),
    "king": dict(skin="f0c8a0", hair="bdc3c7", hair_style="short", beard="long", beard_colour="d5d8dc",
                 headgear="crown", hg_colour="f4d03f", wear="robe", outfit="c0392b", outfit2="922b21",
                 trim="ecf0f1", cape="922b21", face="kind", open_eyes=True, build="broad"),
    "priest": dict(skin="f0c8a0", hair="7f8c8d", hair_style="bald", wear="robe", outfit="ecf0f1", outfit2="d5d8dc",
                   trim="f4d03f", item="book", item_colour="f4d03f", face="kind"),
    "princess": dict(skin="fdebd0", hair="f7dc6f", hair_style="long_wavy", eyes="2e86c1", headgear="tiara",
                     wear="dress", outfit="f1948a", outfit2="f5b7b1", trim="fdfefe", face="young", build="slim"),
    "dwarf_elder": dict(skin="e0ac69", hair="f2f3f4", beard="long", beard_colour="f2f3f4", headgear="helmet",
                        hg_colour="d4ac0d", wear="tunic", outfit="7f8c8d", outfit2="5d6d7e", build="broad",
                        item="hammer", item_colour="6e2c00", face="old"),
    "bandit": dict(skin="d7a87a", hair="2c3e50", hair_style="spiky", eyes="2c3e50", eyepatch=True, mask="2c3e50",
                   scarf="c0392b", wear="vest", outfit="2c3e50", outfit2="1b2631", shirt="7f8c8d", item="dagger",
                   face="stern"),
}
