#!/usr/bin/python3
"""Draws the atlas (content/art/atlas.png, 2048 x 2048) from its catalogue content/art/atlas.tsv.

Every catalogue picture is drawn into its own rectangle by the drawer its `draw` column names;
pictures whose `owner` is another picture are cuts of that picture (or, for windows, key-green
holes in it) and are not drawn by themselves. Pictures are drawn largest first, so a picture that
lies inside another (a crest inside a request name) is drawn over it. Everything else is the
colour key. Run from the repository root:  /usr/bin/python3 tools/content/make_atlas.py
"""
import math
import os
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import figures  # noqa: E402
import style  # noqa: E402
from figures import rgb, shade, mix  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CATALOGUE = os.path.join(ROOT, "content", "art", "atlas.tsv")
ROSTER = os.path.join(ROOT, "content", "art", "roster.tsv")
OUTPUT = os.path.join(ROOT, "content", "art", "atlas.png")
CONTACT = os.path.join(ROOT, "docs", "atlas_contact.png")
SHEET = 2048

# Theme colours of the three characters (roster: leon, mira, gald) and of the four crests.
CHARACTER = [rgb("c0392b"), rgb("8e44ad"), rgb("1e8449")]
CREST = [rgb("c0392b"), rgb("2471a3"), rgb("1e8449"), rgb("9a7d0a")]
# Destination floors 1..4 on the minimap.
GOAL = [rgb("e74c3c"), rgb("3498db"), rgb("f1c40f"), rgb("ecf0f1")]
WHITE = (255, 255, 255, 255)


def load_catalogue(path=CATALOGUE):
    rows = []
    header = None
    for line in open(path, encoding="utf-8"):
        if line.startswith("#") or not line.strip():
            continue
        cells = line.rstrip("\n").split("\t")
        if header is None:
            header = cells
            continue
        row = dict(zip(header, cells))
        for k in ("left", "top", "right", "bottom"):
            row[k] = int(row[k])
        rows.append(row)
    return rows


def load_roster(path=ROSTER):
    cast = {}
    header = None
    for line in open(path, encoding="utf-8"):
        if line.startswith("#") or not line.strip():
            continue
        cells = line.rstrip("\n").split("\t")
        if header is None:
            header = cells
            continue
        row = dict(zip(header, cells))
        cast[row["id"]] = row
    return cast


def size_of(p):
    return (p["right"] - p["left"], p["bottom"] - p["top"])


# ---------------------------------------------------------------------------------------------
# Words


def words_keyed(size, s, bold=False, fill=style.INK, max_size=None, stroke=1, align="center", face=None,
                pad=0):
    """Words fitted into the picture, on the colour key, with a dark outline."""
    w, h = size
    f = style.fit_font(s, w - 2 * pad, h, bold=bold, max_size=max_size, stroke=stroke, face=face)
    layer = style.words_layer((w, h), s, f, fill=fill, stroke=stroke, align=align)
    return style.keyed(layer)


def label_size(h):
    """The font size of ordinary labels for a picture height: legible, a little air kept."""
    return max(9, round(h * 0.8))


def draw_label(p, size):
    return words_keyed(size, p["words"], max_size=label_size(size[1]))


def draw_title_label(p, size):
    return words_keyed(size, p["words"], bold=True, max_size=size[1] - 3, stroke=2)


def draw_heading(p, size):
    return words_keyed(size, p["words"], bold=True, fill=style.ACCENT, max_size=label_size(size[1]) + 1)


def draw_unit(p, size):
    return words_keyed(size, p["words"], max_size=size[1] - 4)


def draw_help(p, size):
    return words_keyed(size, p["words"], fill=(226, 230, 240, 255), max_size=min(15, size[1] - 4))


def draw_keyhelp(p, size):
    return words_keyed(size, p["words"], fill=(236, 238, 244, 255), max_size=12, align="left")


def draw_plate(p, size):
    return words_keyed(size, p["words"], bold=True, max_size=17)


def draw_party_name(p, size):
    c = CHARACTER[int(p["draw"].split(":")[1])]
    w, h = size
    f = style.fit_font(p["words"], w, h, bold=True, max_size=26, stroke=2)
    layer = style.words_layer((w, h), p["words"], f, fill=WHITE, outline=shade(c, 0.45), stroke=2)
    return style.keyed(layer)


def draw_marked(p, size):
    """A confirmation title: a round gold mark with a question sign, then the words."""
    w, h = size
    img = Image.new("RGBA", size, style.KEY)
    words = words_keyed((w - 20, h), p["words"], max_size=label_size(h))
    img.paste(words, (w - words.width, 0))
    layer = Image.new("RGBA", (20 * 4, h * 4), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    cy = h * 2
    d.ellipse((6, cy - 34, 74, cy + 34), fill=style.OUTLINE)
    d.ellipse((12, cy - 28, 68, cy + 28), fill=style.ACCENT)
    small = layer.resize((20, h), Image.LANCZOS)
    mark = style.words_layer((20, h), "？", style.font(13, True), fill=style.OUTLINE, stroke=0)
    small.alpha_composite(mark)
    img.paste(style.keyed(small), (0, 0))
    return img


# ---------------------------------------------------------------------------------------------
# Panels, frames, bars


def draw_panel(p, size):
    return style.framed_panel(size)


def draw_panel_big(p, size):
    w, h = size
    img = style.framed_panel(size)
    d = ImageDraw.Draw(img)
    line = (88, 92, 140, 255)
    d.rectangle((5, 5, w - 6, h - 6), outline=line)
    for x, y in ((5, 5), (w - 6, 5), (5, h - 6), (w - 6, h - 6)):
        d.polygon([(x, y - 4), (x + 4, y), (x, y + 4), (x - 4, y)], fill=style.ACCENT, outline=style.GOLD_DARK)
    return img


def draw_plate_frame(p, size):
    w, h = size
    img = style.framed_panel(size, top=(70, 60, 40, 255), bottom=(38, 30, 22, 255))
    return img


def draw_highlight(p, size):
    """A soft light bar, drawn translucent by the game over the chosen line."""
    w, h = size
    img = style.gradient(size, (255, 246, 210, 255), (238, 200, 110, 255))
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, w - 1, h - 1), outline=(255, 255, 240, 255))
    return img


def draw_title_highlight(p, size):
    w, h = size
    layer = Image.new("RGBA", (w * 4, h * 4), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    d.rounded_rectangle((0, 0, w * 4 - 1, h * 4 - 1), radius=h * 2 - 2, fill=style.OUTLINE)
    d.rounded_rectangle((6, 6, w * 4 - 7, h * 4 - 7), radius=h * 2 - 8, fill=(196, 140, 40, 255))
    d.rounded_rectangle((14, 14, w * 4 - 15, h * 2), radius=h - 4, fill=(236, 196, 92, 255))
    return style.keyed(layer.resize(size, Image.LANCZOS))


def draw_keybar(p, size):
    w, h = size
    img = style.gradient(size, (40, 44, 80, 255), (12, 12, 28, 255))
    ImageDraw.Draw(img).line((0, 0, w - 1, 0), fill=style.PANEL_FRAME)
    return img


def draw_gauge(p, size):
    """A gauge bar: the cut end is the full value, so its colour runs from calm at the inner end
    to hot at the outer end; the game shows the part from the inner end."""
    side = p["draw"].split(":")[1]
    w, h = size
    if side == "left":
        inner, outer = (250, 200, 60), (214, 46, 40)
    else:
        inner, outer = (110, 220, 250), (40, 90, 220)
    img = Image.new("RGBA", size)
    d = ImageDraw.Draw(img)
    for i in range(w):
        k = i / (w - 1)
        if side == "left":
            k = 1 - k
        base = tuple(round(inner[j] + (outer[j] - inner[j]) * k) for j in range(3))
        for y in range(h):
            v = 1.0 + 0.35 * math.exp(-((y - h * 0.3) / (h * 0.18)) ** 2) - 0.35 * (y / h) ** 2
            c = tuple(max(0, min(255, round(base[j] * v if v <= 1 else base[j] + (255 - base[j]) * (v - 1))))
                      for j in range(3))
            d.point((i, y), fill=c + (255,))
    d.line((0, 0, w - 1, 0), fill=style.OUTLINE)
    d.line((0, h - 1, w - 1, h - 1), fill=style.OUTLINE)
    for i in range(20, w, 20):
        x = w - 1 - i if side == "left" else i
        d.line((x, 1, x, h - 2), fill=shade(rgb("000000"), 1.0)[:3] + (90,))
    return img


def draw_hp_back(p, size):
    w, h = size
    img = Image.new("RGBA", size, style.OUTLINE)
    ImageDraw.Draw(img).rectangle((1, 1, w - 2, h - 2), fill=(80, 20, 24, 255))
    return img


def draw_hp_fill(p, size):
    return style.gradient(size, (150, 250, 120, 255), (40, 180, 60, 255))


def draw_cursor(p, size):
    w, h = size
    layer = Image.new("RGBA", (w * 4, h * 4), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    d.polygon([(0, 4), (w * 4 - 1, h * 2), (0, h * 4 - 5)], fill=style.OUTLINE)
    d.polygon([(6, 18), (w * 4 - 14, h * 2), (6, h * 4 - 19)], fill=style.ACCENT)
    d.polygon([(6, 18), (w * 4 - 14, h * 2), (6, h * 2)], fill=(255, 236, 160, 255))
    return style.keyed(layer.resize(size, Image.LANCZOS))


def draw_arrow(p, size):
    w, h = size
    layer = Image.new("RGBA", (w * 4, h * 4), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    pts = [(8, 44), (64, 44), (64, 12), (120, 64), (64, 116), (64, 84), (8, 84)]
    d.polygon(pts, fill=style.OUTLINE)
    inner = [(18, 54), (74, 54), (74, 36), (106, 64), (74, 92), (74, 74), (18, 74)]
    d.polygon(inner, fill=style.ACCENT)
    d.polygon([(18, 54), (74, 54), (74, 36), (106, 64), (18, 64)], fill=(255, 236, 160, 255))
    img = layer.resize(size, Image.LANCZOS)
    if p["draw"].endswith("left"):
        img = img.transpose(Image.FLIP_LEFT_RIGHT)
    return style.keyed(img)


def draw_backdrop(p, size):
    """A board of dark tiles with a faint diamond, seamless when tiled."""
    w, h = size
    img = style.gradient(size, (30, 34, 66, 255), (24, 26, 54, 255))
    d = ImageDraw.Draw(img)
    d.polygon([(16, 3), (29, 16), (16, 29), (3, 16)], outline=(48, 54, 98, 255))
    d.polygon([(16, 9), (23, 16), (16, 23), (9, 16)], fill=(38, 42, 82, 255))
    d.point((0, 0), fill=(60, 66, 112, 255))
    return img


def draw_slash(p, size):
    w, h = size
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    d.line((w - 3, 2, 2, h - 3), fill=style.OUTLINE, width=4)
    d.line((w - 3, 2, 2, h - 3), fill=WHITE if p["draw"].endswith("large") else style.INK, width=2)
    return style.keyed(layer)


def draw_digit(p, size):
    """A digit filling its rectangle: scaled so that its ink is the rectangle less the outline."""
    w, h = size
    large = p["draw"].endswith("large")
    f = style.font(64, True)
    s = p["words"]
    l, t, r, b = f.getbbox(s, anchor="ls")
    big = Image.new("L", (r - l + 8, b - t + 8), 0)
    ImageDraw.Draw(big).text((4 - l, 4 - t), s, font=f, fill=255, anchor="ls")
    big = big.crop(big.getbbox())
    gh = h - 2
    gw = min(w - 2, max(1, round(big.width * gh / big.height)))
    glyph = big.resize((gw, gh), Image.LANCZOS)
    mask = Image.new("L", size, 0)
    mask.paste(glyph, ((w - gw) // 2, 1))
    ring = mask.point(lambda v: 255 if v >= 60 else 0).filter(ImageFilter.MaxFilter(3))
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    layer.paste(style.OUTLINE, (0, 0), ring)
    top, bottom = ((255, 255, 255), (250, 214, 110)) if large else ((255, 255, 255), (214, 222, 236))
    fill = style.gradient(size, top, bottom)
    layer.paste(fill, (0, 0), mask)
    return style.keyed(layer, threshold=100)


# ---------------------------------------------------------------------------------------------
# Signs, banners, notices, marks, icons


def ribbon(size, colour, words, text_size=None):
    w, h = size
    layer = Image.new("RGBA", (w * 4, h * 4), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    W, H = w * 4, h * 4
    notch = H // 3
    d.polygon([(0, 0), (W - 1, 0), (W - 1 - notch, H // 2), (W - 1, H - 1), (0, H - 1), (notch, H // 2)],
              fill=style.OUTLINE)
    d.polygon([(8, 6), (W - 9, 6), (W - 9 - notch + 6, H // 2), (W - 9, H - 7), (8, H - 7),
               (notch + 2, H // 2)], fill=colour)
    d.polygon([(8, 6), (W - 9, 6), (W - 9 - notch // 2, H // 3), (notch // 2 + 4, H // 3)],
              fill=shade(colour, 1.25))
    base = layer.resize(size, Image.LANCZOS)
    f = style.fit_font(words, w - 2 * (h // 3) - 8, h - 6, bold=True, max_size=text_size or h - 8)
    base.alpha_composite(style.words_layer(size, words, f, fill=WHITE, outline=shade(colour, 0.35)))
    return style.keyed(base)


def draw_banner(p, size):
    colour = {"skip": rgb("a93226"), "item": rgb("1e8449")}[p["draw"].split(":")[1]]
    return ribbon(size, colour, p["words"])


def draw_level_up(p, size):
    w, h = size
    f = style.fit_font(p["words"], w, h, bold=True, max_size=16, stroke=1)
    layer = style.words_layer(size, p["words"], f, fill=(255, 226, 90, 255), outline=(120, 40, 10, 255))
    return style.keyed(layer)


def draw_notice(p, size):
    w, h = size
    img = style.framed_panel(size, top=(66, 40, 40, 255), bottom=(40, 22, 26, 255)) \
        if p["name"].startswith(("refusal", "load_failed", "save_failed")) else style.framed_panel(size)
    f = style.fit_font(p["words"], w - 12, h - 6, bold=True, max_size=h - 9)
    img.alpha_composite(style.words_layer(size, p["words"], f, fill=style.INK))
    return img


def draw_sign(p, size):
    """A plaque with an emblem and words: the battle's side signs and the auto-battle sign."""
    kind = p["draw"].split(":")[1]
    w, h = size
    colour = {"attack": rgb("a93226"), "defence": rgb("1f618d"), "auto": rgb("7d3c98")}[kind]
    layer = Image.new("RGBA", (w * 4, h * 4), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    d.rounded_rectangle((0, 0, w * 4 - 1, h * 4 - 1), radius=24, fill=style.OUTLINE)
    d.rounded_rectangle((6, 6, w * 4 - 7, h * 4 - 7), radius=20, fill=style.ACCENT)
    d.rounded_rectangle((14, 14, w * 4 - 15, h * 4 - 15), radius=14, fill=colour)
    d.rounded_rectangle((14, 14, w * 4 - 15, h * 2), radius=14, fill=shade(colour, 1.15))
    # emblem on the left
    ex, ey, er = h * 2 + 4, h * 2, h * 2 - 30
    if kind == "attack":
        d.polygon([(ex - er, ey + er), (ex - er + 14, ey + er + 6), (ex + er, ey - er + 12), (ex + er - 8, ey - er)],
                  fill=style.OUTLINE)
        d.polygon([(ex - er + 6, ey + er - 4), (ex - er + 14, ey + er), (ex + er - 8, ey - er + 14),
                   (ex + er - 14, ey - er + 6)], fill=(236, 240, 241, 255))
        d.line((ex - er // 2 - 10, ey + 4, ex + 4, ey + er // 2 + 10), fill=style.OUTLINE, width=14)
        d.line((ex - er // 2 - 10, ey + 4, ex + 4, ey + er // 2 + 10), fill=style.ACCENT, width=8)
    elif kind == "defence":
        pts = [(ex - er, ey - er + 6), (ex, ey - er - 4), (ex + er, ey - er + 6), (ex + er - 6, ey + er // 3),
               (ex, ey + er + 6), (ex - er + 6, ey + er // 3)]
        d.polygon(pts, fill=style.OUTLINE)
        pts2 = [(ex - er + 10, ey - er + 14), (ex, ey - er + 6), (ex + er - 10, ey - er + 14),
                (ex + er - 14, ey + er // 3), (ex, ey + er - 6), (ex - er + 14, ey + er // 3)]
        d.polygon(pts2, fill=(189, 195, 199, 255))
        d.line((ex, ey - er + 12, ex, ey + er - 12), fill=colour, width=10)
    else:
        for i in range(8):
            a = math.radians(i * 45)
            d.line((ex, ey, ex + math.cos(a) * er, ey + math.sin(a) * er), fill=style.OUTLINE, width=22)
        d.ellipse((ex - er * 0.7, ey - er * 0.7, ex + er * 0.7, ey + er * 0.7), fill=style.OUTLINE)
        d.ellipse((ex - er * 0.55, ey - er * 0.55, ex + er * 0.55, ey + er * 0.55), fill=(214, 219, 223, 255))
        d.ellipse((ex - er * 0.22, ey - er * 0.22, ex + er * 0.22, ey + er * 0.22), fill=style.OUTLINE)
    base = layer.resize(size, Image.LANCZOS)
    tw = w - h - 6
    f = style.fit_font(p["words"], tw - 4, h - 12, bold=True, max_size=min(28, h - 14))
    words = style.words_layer((tw, h), p["words"], f, fill=WHITE, outline=shade(colour, 0.35))
    base.alpha_composite(words, (h + 2, 0))
    return style.keyed(base)


def draw_caption(p, size):
    kind = p["draw"].split(":")[1]
    fill = (255, 170, 150, 255) if kind == "attack" else (160, 210, 255, 255)
    return words_keyed(size, p["words"], bold=True, fill=fill, max_size=size[1] - 6, stroke=2)


def draw_gem(p, size):
    c = CHARACTER[int(p["draw"].split(":")[1])]
    layer = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    d.polygon([(16, 0), (31, 16), (16, 31), (0, 16)], fill=style.OUTLINE)
    d.polygon([(16, 5), (26, 16), (16, 26), (5, 16)], fill=c)
    d.polygon([(16, 5), (26, 16), (16, 16), (5, 16)], fill=shade(c, 1.4))
    return style.keyed(layer.resize(size, Image.LANCZOS))


def draw_pawn(p, size):
    c = CHARACTER[int(p["draw"].split(":")[1])]
    layer = Image.new("RGBA", (64, 64), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    d.ellipse((20, 2, 44, 26), fill=style.OUTLINE)
    d.polygon([(14, 62), (50, 62), (40, 22), (24, 22)], fill=style.OUTLINE)
    d.ellipse((25, 7, 39, 21), fill=c)
    d.polygon([(20, 57), (44, 57), (36, 26), (28, 26)], fill=c)
    d.ellipse((27, 9, 32, 14), fill=shade(c, 1.6))
    d.line((30, 30, 25, 54), fill=shade(c, 1.35), width=3)
    return style.keyed(layer.resize(size, Image.LANCZOS))


def draw_goal(p, size):
    c = GOAL[int(p["draw"].split(":")[1]) - 1]
    img = Image.new("RGBA", size, style.OUTLINE)
    d = ImageDraw.Draw(img)
    w, h = size
    d.rectangle((1, 1, w - 2, h - 2), fill=c)
    d.rectangle((1, 1, w - 2, 2), fill=shade(c, 1.35))
    return img


def draw_cell(p, size):
    img = Image.new("RGBA", size, (214, 218, 226, 255))
    ImageDraw.Draw(img).point((size[0] - 1, size[1] - 1), fill=(150, 156, 170, 255))
    return img


def draw_square_dot(p, size):
    """Minimap: a square cell, warm and bright beside the grey road cells."""
    img = Image.new("RGBA", size, (255, 214, 90, 255))
    ImageDraw.Draw(img).point((size[0] - 1, size[1] - 1), fill=(200, 140, 30, 255))
    return img


def draw_square_plate(p, size):
    """Board: the round stone plate laid on every square cell, where a die can stop."""
    n = 256
    layer = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    d.ellipse((10, 10, n - 10, n - 10), fill=style.OUTLINE)
    d.ellipse((18, 18, n - 18, n - 18), fill=(196, 150, 62, 255))
    d.ellipse((34, 34, n - 34, n - 34), fill=(120, 84, 40, 255))
    d.ellipse((40, 40, n - 40, n - 40), fill=(236, 222, 190, 255))
    d.ellipse((40, 40, n - 48, n - 48), fill=(248, 240, 218, 255))
    d.ellipse((100, 100, n - 100, n - 100), fill=(196, 150, 62, 255))
    return style.keyed(layer.resize(size, Image.LANCZOS))


PIXEL_FONT = {
    "C": ["111", "100", "100", "100", "111"],
    "P": ["111", "101", "111", "100", "100"],
    "U": ["101", "101", "101", "101", "111"],
}


def draw_mark(p, size):
    w, h = size
    kind = p["draw"].split(":")[1]
    img = Image.new("RGBA", size, style.OUTLINE)
    d = ImageDraw.Draw(img)
    if kind == "cpu":
        d.rectangle((1, 1, w - 2, h - 2), fill=(90, 60, 140, 255))
        x = 3
        for ch in "CPU":
            for j, row in enumerate(PIXEL_FONT[ch]):
                for i, bit in enumerate(row):
                    if bit == "1":
                        d.point((x + i, 2 + j), fill=WHITE)
            x += 5
    else:
        d.rectangle((1, 1, w - 2, h - 2), fill=(238, 222, 180, 255))
        d.line((4, 3, w - 9, 3), fill=(140, 120, 90, 255))
        d.line((4, 5, w - 11, 5), fill=(140, 120, 90, 255))
        d.rectangle((w - 7, 2, w - 3, h - 3), fill=(192, 40, 40, 255))
        d.point((w - 5, 4), fill=(255, 150, 150, 255))
    return img


def draw_badge(p, size):
    """A crest: a round seal in the crest's colour with its character."""
    k = int(p["draw"].split(":")[1])
    return crest(size, CREST[k], p["words"])


def crest(size, colour, ch):
    w, h = size
    layer = Image.new("RGBA", (w * 4, h * 4), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    d.rounded_rectangle((0, 0, w * 4 - 1, h * 4 - 1), radius=18, fill=style.OUTLINE)
    d.rounded_rectangle((5, 5, w * 4 - 6, h * 4 - 6), radius=14, fill=style.ACCENT)
    d.rounded_rectangle((10, 10, w * 4 - 11, h * 4 - 11), radius=10, fill=colour)
    base = layer.resize(size, Image.LANCZOS)
    f = style.fit_font(ch, w - 5, h - 5, bold=True, max_size=14, stroke=0)
    base.alpha_composite(style.words_layer(size, ch, f, fill=WHITE, stroke=0))
    return style.keyed(base)


def draw_request_name(p, size, catalogue):
    """A request name: its words, with the crests that lie inside it standing for their
    characters (the crest pictures paint those texels themselves)."""
    w, h = size
    inside = sorted((q for q in catalogue if q is not p and q["owner"] == "-" and q["left"] >= p["left"]
                     and q["right"] <= p["right"] and q["top"] >= p["top"] and q["bottom"] <= p["bottom"]),
                    key=lambda q: q["left"])
    words = p["words"]
    segments = []  # (x0, x1, text)
    x = 0
    for q in inside:
        i = words.index(q["words"])
        segments.append((x, q["left"] - p["left"] - 1, words[:i]))
        words = words[i + len(q["words"]):]
        x = q["right"] - p["left"] + 1
    segments.append((x, w, words))
    size_px = label_size(h)
    for x0, x1, text in segments:
        if text:
            size_px = min(size_px, style.fit_font(text, x1 - x0, h, max_size=size_px).size)
    img = Image.new("RGBA", size, style.KEY)
    for x0, x1, text in segments:
        if text and x1 > x0:
            part = words_keyed((x1 - x0, h), text, max_size=size_px, align="left")
            img.paste(part, (x0, 0))
    return img


def draw_shop_sign(p, size):
    w, h = size
    img = style.gradient(size, (150, 100, 56, 255), (104, 66, 34, 255))
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, w - 1, h - 1), outline=style.OUTLINE)
    d.rectangle((1, 1, w - 2, h - 2), outline=(190, 140, 80, 255))
    for y in (8, 15):
        d.line((3, y, w - 4, y), fill=(126, 82, 44, 255))
    f = style.fit_font(p["words"], w - 16, h - 6, bold=True, max_size=h - 8, stroke=1)
    img.alpha_composite(style.words_layer(size, p["words"], f, fill=(255, 240, 200, 255), outline=(60, 30, 10, 255)))
    return img


# ---------------------------------------------------------------------------------------------
# Figures: portraits, cards, faces, shopkeeper


def figure_of(p):
    return figures.CAST[p["draw"].split(":")[1]]


def draw_portrait(p, size):
    """An event portrait: the figure from the head to the waist, standing on the lower edge."""
    w, h = size
    f = figure_of(p)
    top = figures.top_extent(f)
    r = min(w * 0.19, (h - 4) / (top + 3.9))
    layer = figures.render(f, size, r, (w * 0.46, h - r * 3.9), outline=1.2)
    return style.keyed(layer)


def draw_card(p, size):
    """A battle card: the figure on a clear ground (the reel's back shows through) within a thin
    gold border; its middle is also the figure's event portrait."""
    w, h = size
    f = figure_of(p)
    kind = f.get("kind", "person")
    r = 33 if kind == "person" else 29
    cy = 100 if kind == "person" else 108
    layer = figures.render(f, size, r, (w / 2, cy), outline=1.3)
    img = style.keyed(layer)
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, w - 1, h - 1), outline=style.OUTLINE)
    d.rectangle((1, 1, w - 2, h - 2), outline=style.ACCENT)
    return img


def draw_face(p, size):
    w, h = size
    f = figure_of(p)
    row = int(p["name"].split("_")[1])
    c = CHARACTER[row // 4]
    bg = style.gradient(size, shade(c, 1.35), shade(c, 0.55))
    d = ImageDraw.Draw(bg)
    d.ellipse((w * 0.15, h * 0.05, w * 0.85, h * 1.1), fill=shade(c, 1.15))
    kind = f.get("kind", "person")
    r = 27 if kind == "person" else 23
    layer = figures.render(f, size, r, (w / 2, 46 if kind == "person" else 50), outline=1.0)
    img = style.flatten(layer, bg)
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, w - 1, h - 1), outline=style.OUTLINE)
    d.rectangle((1, 1, w - 2, h - 2), outline=style.ACCENT)
    return img


def draw_shopkeeper(p, size):
    w, h = size
    f = figures.CAST["merchant"]
    layer = figures.render(f, size, 24, (w / 2, 52), outline=1.1)
    # the counter, with wares on it
    big = Image.new("RGBA", (w * 4, h * 4), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    top = (h - 48) * 4
    d.rectangle((0, top, w * 4 - 1, h * 4 - 1), fill=style.OUTLINE)
    d.rectangle((6, top + 6, w * 4 - 7, h * 4 - 7), fill=(150, 96, 52, 255))
    d.rectangle((6, top + 6, w * 4 - 7, top + 26), fill=(190, 130, 72, 255))
    for i in range(1, 4):
        d.line((6, top + 26 + i * 34, w * 4 - 7, top + 26 + i * 34), fill=(120, 74, 40, 255), width=4)
    # bottles and coins on the counter
    for x, col in ((40, (214, 60, 60)), (110, (60, 160, 220)), (560, (120, 200, 90))):
        d.rounded_rectangle((x, top - 70, x + 44, top + 4), radius=10, fill=style.OUTLINE)
        d.rounded_rectangle((x + 6, top - 62, x + 38, top - 2), radius=8, fill=col + (255,))
        d.rectangle((x + 14, top - 92, x + 30, top - 60), fill=style.OUTLINE)
        d.rectangle((x + 18, top - 88, x + 26, top - 64), fill=(200, 170, 120, 255))
    for i in range(4):
        x = 450 + i * 8
        d.ellipse((x, top - 30 - i * 10, x + 60, top - 6 - i * 10), fill=style.OUTLINE)
        d.ellipse((x + 5, top - 26 - i * 10, x + 55, top - 10 - i * 10), fill=(244, 208, 63, 255))
    layer.alpha_composite(big.resize(size, Image.LANCZOS))
    return style.keyed(layer)


# ---------------------------------------------------------------------------------------------
# Full-screen pictures


def stars(d, w, h, n, seed, colour=(255, 255, 240, 255), top=0, bottom=None):
    bottom = bottom or h
    x = seed
    for _ in range(n):
        x = (x * 1103515245 + 12345) & 0x7FFFFFFF
        sx = x % w
        x = (x * 1103515245 + 12345) & 0x7FFFFFFF
        sy = top + x % (bottom - top)
        x = (x * 1103515245 + 12345) & 0x7FFFFFFF
        big = x % 7 == 0
        d.point((sx, sy), fill=colour)
        if big:
            d.point((sx + 1, sy), fill=colour)
            d.point((sx - 1, sy), fill=colour)
            d.point((sx, sy + 1), fill=colour)
            d.point((sx, sy - 1), fill=colour)


def draw_title_picture(p, size):
    """The island of Tessaly at dusk: a sky, a sea and a castle on a far hill."""
    w, h = size
    img = Image.new("RGBA", size)
    d = ImageDraw.Draw(img)
    sky = [(0, (20, 16, 56)), (0.45, (70, 46, 120)), (0.62, (200, 96, 110)), (0.7, (250, 170, 100))]
    horizon = int(h * 0.7)
    for y in range(horizon):
        k = y / horizon
        for (k0, c0), (k1, c1) in zip(sky, sky[1:]):
            if k0 <= k / 1.0 * 0.7 <= k1:
                t = (k * 0.7 - k0) / (k1 - k0)
                c = tuple(round(c0[i] + (c1[i] - c0[i]) * t) for i in range(3))
                break
        else:
            c = sky[-1][1]
        d.line((0, y, w - 1, y), fill=c + (255,))
    stars(d, w, h, 160, 7, top=0, bottom=int(h * 0.4))
    # moon
    for r, c in ((44, (96, 70, 140)), (38, (130, 100, 170)), (30, (255, 246, 214))):
        d.ellipse((570 - r, 66 - r, 570 + r, 66 + r), fill=c + (255,))
    d.ellipse((556, 54, 566, 62), fill=(236, 226, 196, 255))
    d.ellipse((574, 72, 586, 80), fill=(236, 226, 196, 255))
    # far mountains
    d.polygon([(0, horizon), (0, 250), (60, 215), (120, 250), (190, 200), (260, 245), (330, 230), (400, 260),
               (470, 210), (540, 240), (640, 205), (640, horizon)], fill=(64, 48, 98, 255))
    d.polygon([(0, horizon), (0, 290), (90, 265), (170, 285), (250, 268), (330, 290), (420, 270), (520, 292),
               (640, 270), (640, horizon)], fill=(86, 58, 104, 255))
    # the castle on the right hill
    cx = 572
    d.polygon([(480, horizon), (520, 292), (572, 262), (620, 290), (640, 300), (640, horizon)],
              fill=(60, 40, 80, 255))
    castle = (44, 30, 62, 255)
    d.rectangle((cx - 40, 210, cx + 40, 280), fill=castle)
    for tx, ty, tw in ((cx - 50, 180, 18), (cx + 32, 180, 18), (cx - 9, 150, 18)):
        d.rectangle((tx, ty, tx + tw, 280), fill=castle)
        d.polygon([(tx - 4, ty), (tx + tw // 2, ty - 28), (tx + tw + 4, ty)], fill=(120, 40, 60, 255))
    for wx, wy in ((cx - 45, 200), (cx + 37, 200), (cx - 4, 170), (cx - 20, 235), (cx + 12, 235)):
        d.rectangle((wx, wy, wx + 5, wy + 8), fill=(255, 210, 120, 255))
    d.line((cx, 122, cx, 100), fill=castle, width=2)
    d.polygon([(cx, 100), (cx + 16, 105), (cx, 110)], fill=(220, 60, 60, 255))
    # sea with the sun's path
    for y in range(horizon, h):
        k = (y - horizon) / (h - horizon)
        c = mix((120, 80, 130), (18, 24, 60), k)
        d.line((0, y, w - 1, y), fill=c)
    x = 91
    for y in range(horizon + 2, h, 3):
        x = (x * 1103515245 + 12345) & 0x7FFFFFFF
        span = 30 + (y - horizon) // 2
        sx = 320 - span // 2 + (x % 40) - 20
        d.line((sx, y, sx + (x % span) // 2 + 10, y), fill=(250, 190, 130, 255))
    return img


def draw_title_foreground(p, size):
    """The board on a green hill: a path of squares, the three parties' pawns and a die; key
    green above the hill."""
    w, h = size
    S = 2
    big = Image.new("RGBA", (w * S, h * S), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)

    def P(x, y):
        return (x * S, y * S)

    hill = [P(0, 60), P(80, 40), P(180, 52), P(300, 30), P(420, 48), P(540, 36), P(640, 50), P(640, h), P(0, h)]
    d.polygon(hill, fill=style.OUTLINE)
    hill2 = [P(0, 62), P(80, 42), P(180, 54), P(300, 32), P(420, 50), P(540, 38), P(640, 52), P(640, h), P(0, h)]
    d.polygon(hill2, fill=(62, 140, 70, 255))
    for y in range(100, h, 4):
        k = (y - 100) / (h - 100)
        d.line((0, y * S, w * S, y * S), fill=mix((62, 140, 70), (30, 80, 44), k), width=4 * S)
    # the path of squares: a gentle S across the hill
    squares = []
    for i in range(15):
        t = i / 14
        x = 30 + t * 580
        y = 150 + math.sin(t * math.pi * 1.6) * 38
        squares.append((x, y))
    colours = [(236, 226, 196), (196, 70, 60), (236, 226, 196), (70, 120, 200), (236, 226, 196), (240, 200, 70)]
    for i, (x, y) in enumerate(squares):
        c = colours[i % len(colours)]
        d.polygon([P(x - 22, y), P(x, y - 12), P(x + 22, y), P(x, y + 12)], fill=style.OUTLINE)
        d.polygon([P(x - 22, y), P(x, y - 12), P(x + 22, y), P(x, y + 12)], fill=style.OUTLINE)
        d.polygon([P(x - 19, y), P(x, y - 10), P(x + 19, y), P(x, y + 10)], fill=c + (255,))
        d.polygon([P(x - 22, y), P(x, y + 12), P(x, y + 17), P(x - 22, y + 5)], fill=shade(c + (255,), 0.6))
        d.polygon([P(x + 22, y), P(x, y + 12), P(x, y + 17), P(x + 22, y + 5)], fill=shade(c + (255,), 0.75))
    # pawns of the three parties
    for k, i in enumerate((4, 7, 10)):
        x, y = squares[i]
        c = CHARACTER[k]
        d.ellipse((P(x - 12, y - 6) + P(x + 12, y + 6)), fill=(0, 0, 0, 90))
        d.polygon([P(x - 10, y), P(x + 10, y), P(x + 5, y - 26), P(x - 5, y - 26)], fill=style.OUTLINE)
        d.ellipse(P(x - 9, y - 44) + P(x + 9, y - 26), fill=style.OUTLINE)
        d.polygon([P(x - 8, y - 2), P(x + 8, y - 2), P(x + 4, y - 25), P(x - 4, y - 25)], fill=c)
        d.ellipse(P(x - 7, y - 42) + P(x + 7, y - 28), fill=c)
        d.ellipse(P(x - 4, y - 39) + P(x - 1, y - 36), fill=shade(c, 1.6))
    # a big die at the left
    x, y, s = 96, 118, 26
    top = [P(x, y - s), P(x + s, y - s // 2), P(x, y), P(x - s, y - s // 2)]
    left = [P(x - s, y - s // 2), P(x, y), P(x, y + s), P(x - s, y + s // 2)]
    right = [P(x, y), P(x + s, y - s // 2), P(x + s, y + s // 2), P(x, y + s)]
    for face, col in ((top, (250, 250, 250)), (left, (214, 214, 222)), (right, (186, 186, 198))):
        d.polygon(face, fill=col + (255,), outline=style.OUTLINE, width=2 * S)
    for px, py in ((x, y - s // 2),):
        d.ellipse(P(px - 4, py - 2) + P(px + 4, py + 2), fill=(200, 40, 40, 255))
    for px, py in ((x - s * 0.7, y + 0.05 * s), (x - s * 0.5, y + s * 0.25), (x - s * 0.3, y + s * 0.45)):
        d.ellipse(P(px - 2, py - 3) + P(px + 2, py + 3), fill=style.OUTLINE)
    for px, py in ((x + s * 0.3, y + s * 0.05), (x + s * 0.7, y + s * 0.05), (x + s * 0.3, y + s * 0.55),
                   (x + s * 0.7, y + s * 0.55)):
        d.ellipse(P(px - 2, py - 3) + P(px + 2, py + 3), fill=style.OUTLINE)
    # a signpost at the right
    d.rectangle(P(574, 70) + P(580, 130), fill=style.OUTLINE)
    d.rectangle(P(575, 71) + P(579, 129), fill=(130, 86, 50, 255))
    d.polygon([P(552, 76), P(604, 76), P(614, 86), P(604, 96), P(552, 96)], fill=style.OUTLINE)
    d.polygon([P(554, 78), P(603, 78), P(611, 86), P(603, 94), P(554, 94)], fill=(190, 140, 80, 255))
    img = big.resize(size, Image.LANCZOS)
    return style.keyed(img)


def draw_logo(p, size):
    w, h = size
    f = style.fit_font(p["words"], w - 150, h - 4, face=style.serif, max_size=64, stroke=3)
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    mask = style.words_layer(size, p["words"], f, fill=WHITE, stroke=0)
    a = mask.getchannel("A")
    fill = style.gradient(size, (255, 244, 190), (214, 140, 40))
    outline = a.point(lambda v: 255 if v > 40 else 0).filter(ImageFilter.MaxFilter(7))
    shadow = outline.filter(ImageFilter.MaxFilter(3))
    layer.paste((60, 20, 60, 255), (3, 4), shadow)
    layer.paste(style.OUTLINE, (0, 0), outline)
    layer.paste(fill, (0, 0), a)
    d = ImageDraw.Draw(layer)
    # two four-pointed stars beside the words
    l, t, r, b = a.getbbox()
    for cx in (l - 40, r + 40):
        cy = h // 2
        for rr, col in ((20, style.OUTLINE), (15, (255, 230, 140, 255))):
            d.polygon([(cx, cy - rr), (cx + rr // 4, cy - rr // 4), (cx + rr, cy), (cx + rr // 4, cy + rr // 4),
                       (cx, cy + rr), (cx - rr // 4, cy + rr // 4), (cx - rr, cy), (cx - rr // 4, cy - rr // 4)],
                      fill=col)
    return style.keyed(layer)


def draw_subtitle(p, size):
    return words_keyed(size, p["words"], bold=True, fill=(255, 236, 200, 255), max_size=size[1] - 6, stroke=2)


def draw_card_back(p, size):
    """The back of a reel: a lattice of gold lines on deep red with a round crest."""
    w, h = size
    img = style.gradient(size, (120, 30, 40, 255), (70, 14, 26, 255))
    d = ImageDraw.Draw(img)
    for i in range(-h, w + h, 20):
        d.line((i, 0, i + h, h), fill=(150, 50, 56, 255))
        d.line((i, h, i + h, 0), fill=(150, 50, 56, 255))
    d.rectangle((0, 0, w - 1, h - 1), outline=style.OUTLINE)
    d.rectangle((1, 1, w - 2, h - 2), outline=style.ACCENT)
    d.rectangle((8, 8, w - 9, h - 9), outline=style.GOLD_DARK)
    cx, cy = w // 2, h // 2
    d.ellipse((cx - 40, cy - 40, cx + 40, cy + 40), fill=style.OUTLINE)
    d.ellipse((cx - 36, cy - 36, cx + 36, cy + 36), fill=style.GOLD_DARK)
    d.ellipse((cx - 32, cy - 32, cx + 32, cy + 32), fill=(110, 24, 36, 255))
    pts = []
    for i in range(16):
        a = math.radians(-90 + i * 22.5)
        r = 28 if i % 2 == 0 else 12
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    d.polygon(pts, fill=style.ACCENT)
    return img


def draw_battle_frame(p, size):
    """The battle screen: a dark arena wall with gold-framed windows onto the two card reels,
    a versus crest between them, and troughs for the gauges below."""
    w, h = size
    img = style.gradient(size, (40, 30, 64, 255), (16, 12, 30, 255))
    d = ImageDraw.Draw(img)
    # stone courses
    for y in range(0, h, 24):
        d.line((0, y, w, y), fill=(52, 42, 80, 255))
        off = 0 if (y // 24) % 2 else 24
        for x in range(off, w, 48):
            d.line((x, y, x, y + 23), fill=(52, 42, 80, 255))
    d.rectangle((0, 0, w - 1, h - 1), outline=style.PANEL_FRAME)
    d.rectangle((1, 1, w - 2, h - 2), outline=style.GOLD_DARK)
    # the lower band behind name plates, gauges and hit points
    d.rectangle((0, 330, w - 1, h - 1), fill=(18, 14, 32, 255))
    d.line((0, 330, w - 1, 330), fill=style.GOLD_DARK)
    d.line((0, 331, w - 1, 331), fill=style.PANEL_FRAME)
    # gauge troughs: the foe's bar grows left from 260, the party's right from 380
    for x0, x1 in ((58, 262), (378, 582)):
        d.rectangle((x0, 408, x1, 442), fill=style.OUTLINE)
        d.rectangle((x0 + 1, 409, x1 - 1, 441), fill=(40, 36, 56, 255))
    # number boxes between the gauges
    d.rectangle((262, 406, 378, 444), fill=(30, 24, 46, 255), outline=style.GOLD_DARK)
    # hit-point strips
    for x in (60, 380):
        d.rectangle((x, 446, x + 200, 474), fill=(30, 24, 46, 255), outline=style.GOLD_DARK)
        heart(d, x + 10, 460, 7)
    # window frames
    for x in (60, 380):
        d.rectangle((x - 6, 58, x + 205, 329), fill=style.OUTLINE)
        d.rectangle((x - 5, 59, x + 204, 328), fill=style.GOLD_DARK)
        d.rectangle((x - 4, 60, x + 203, 327), fill=style.ACCENT)
        d.rectangle((x - 2, 62, x + 201, 325), fill=style.GOLD_DARK)
        for cx, cy in ((x - 5, 59), (x + 204, 59), (x - 5, 328), (x + 204, 328)):
            d.ellipse((cx - 5, cy - 5, cx + 5, cy + 5), fill=style.OUTLINE)
            d.ellipse((cx - 3, cy - 3, cx + 3, cy + 3), fill=style.ACCENT)
        d.rectangle((x, 64, x + 199, 323), fill=style.KEY)
    # the versus crest between the windows
    cx, cy = 320, 194
    d.ellipse((cx - 34, cy - 34, cx + 34, cy + 34), fill=style.OUTLINE)
    d.ellipse((cx - 31, cy - 31, cx + 31, cy + 31), fill=style.ACCENT)
    d.ellipse((cx - 27, cy - 27, cx + 27, cy + 27), fill=(120, 30, 40, 255))
    vs = style.words_layer((68, 68), "対", style.font(34, True), fill=WHITE, outline=style.OUTLINE, stroke=1)
    img.alpha_composite(vs, (cx - 34, cy - 34))
    return img


def heart(d, cx, cy, r):
    d.ellipse((cx - r, cy - r, cx, cy), fill=style.OUTLINE)
    d.ellipse((cx, cy - r, cx + r, cy), fill=style.OUTLINE)
    d.polygon([(cx - r, cy - r // 2), (cx + r, cy - r // 2), (cx, cy + r)], fill=style.OUTLINE)
    r2 = r - 1
    d.ellipse((cx - r2, cy - r2, cx - 1, cy - 1), fill=(220, 60, 70, 255))
    d.ellipse((cx + 1, cy - r2, cx + r2, cy - 1), fill=(220, 60, 70, 255))
    d.polygon([(cx - r2, cy - r2 // 2), (cx + r2, cy - r2 // 2), (cx, cy + r2 - 1)], fill=(220, 60, 70, 255))


def draw_window(p, size):
    return Image.new("RGBA", size, style.KEY)


DRAWERS = {
    "label": draw_label, "title_label": draw_title_label, "heading": draw_heading, "unit": draw_unit,
    "help": draw_help, "keyhelp": draw_keyhelp, "plate": draw_plate, "party_name": draw_party_name,
    "marked": draw_marked, "panel": draw_panel, "panel_big": draw_panel_big, "plate_frame": draw_plate_frame,
    "highlight": draw_highlight, "title_highlight": draw_title_highlight, "keybar": draw_keybar,
    "gauge": draw_gauge, "hp_back": draw_hp_back, "hp_fill": draw_hp_fill, "cursor": draw_cursor,
    "arrow": draw_arrow, "backdrop": draw_backdrop, "slash": draw_slash, "digit": draw_digit,
    "banner": draw_banner, "level_up": draw_level_up, "notice": draw_notice, "sign": draw_sign,
    "caption": draw_caption, "gem": draw_gem, "pawn": draw_pawn, "goal": draw_goal, "cell": draw_cell,
    "square_dot": draw_square_dot, "square_plate": draw_square_plate,
    "mark": draw_mark, "badge": draw_badge, "shop_sign": draw_shop_sign, "portrait": draw_portrait,
    "card": draw_card, "face": draw_face, "shopkeeper": draw_shopkeeper, "title_picture": draw_title_picture,
    "title_foreground": draw_title_foreground, "logo": draw_logo, "subtitle": draw_subtitle,
    "card_back": draw_card_back, "battle_frame": draw_battle_frame,
}


def build(catalogue):
    sheet, _ = style.new_sheet(SHEET, SHEET)
    own = [p for p in catalogue if p["owner"] == "-"]
    own.sort(key=lambda p: -(size_of(p)[0] * size_of(p)[1]))
    for p in own:
        kind = p["draw"].split(":")[0]
        size = size_of(p)
        if kind == "request_name":
            pic = draw_request_name(p, size, catalogue)
        else:
            pic = DRAWERS[kind](p, size)
        assert pic.size == size, (p["name"], pic.size, size)
        sheet.paste(pic.convert("RGBA"), (p["left"], p["top"]))
    for p in catalogue:
        if p["draw"] == "window":
            sheet.paste(Image.new("RGBA", size_of(p), style.KEY), (p["left"], p["top"]))
    return sheet


def main():
    catalogue = load_catalogue()
    names = [p["name"] for p in catalogue]
    assert len(set(names)) == len(names), "catalogue names must be unique"
    for p in catalogue:
        assert p["owner"] == "-" or p["owner"] in names, p["name"]
        assert 0 <= p["left"] < p["right"] <= SHEET and 0 <= p["top"] < p["bottom"] <= SHEET, p["name"]
    sheet = build(catalogue)
    style.save_png(sheet.convert("RGB"), OUTPUT)
    style.save_png(contact_sheet(sheet), CONTACT)
    print(f"{OUTPUT}: {len(catalogue)} pictures; contact sheet {CONTACT}")


def contact_sheet(sheet):
    """The sheet at half size with the colour key shown as a grey checker, for reading."""
    rgb_sheet = sheet.convert("RGB")
    r, g, b = ImageChops.difference(rgb_sheet, Image.new("RGB", sheet.size, style.KEY[:3])).split()
    mask = ImageChops.lighter(ImageChops.lighter(r, g), b).point(lambda v: 255 if v else 0)
    checker = Image.new("RGB", sheet.size, (96, 96, 104))
    d = ImageDraw.Draw(checker)
    for y in range(0, sheet.height, 16):
        for x in range((y // 16) % 2 * 16, sheet.width, 32):
            d.rectangle((x, y, x + 15, y + 15), fill=(120, 120, 128))
    checker.paste(rgb_sheet, (0, 0), mask)
    return checker.resize((sheet.width // 2, sheet.height // 2), Image.LANCZOS)


if __name__ == "__main__":
    main()
