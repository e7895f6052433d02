#!/usr/bin/python3
"""Draws the second texture (1024 x 2048, pack entry 1): content/art/sheet2.png.

Inputs:  content/glyphs/glyphs.tsv  the glyph table (number, character, code, rectangle)
         content/art/sheet2.tsv     the catalogue: every picture's rectangle and its words
Output:  content/art/sheet2.png

    /usr/bin/python3 tools/content/make_sheet2.py            draw the sheet
    /usr/bin/python3 tools/content/make_sheet2.py --layout   first lay the glyphs out anew and
                                                             write their rectangles back into
                                                             glyphs.tsv (after adding or changing
                                                             characters), then draw

Deterministic: the same inputs, fonts and Pillow give the same bytes.
"""
import math
import os
import random
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import style  # noqa: E402

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
GLYPHS_TSV = os.path.join(ROOT, "content", "glyphs", "glyphs.tsv")
CATALOGUE_TSV = os.path.join(ROOT, "content", "art", "sheet2.tsv")
SHEET_PNG = os.path.join(ROOT, "content", "art", "sheet2.png")

SHEET_W, SHEET_H = 1024, 2048
GLYPH_COUNT = 337

# The message font: bold, with a one-texel dark outline so the letters read on the translucent
# message panel over any board picture.
GLYPH_SIZE = 16
GLYPH_BOLD = True
OUTLINE_THRESHOLD = 40    # coverage (0..255) from which a texel counts as ink for the outline

# Glyph rows: the first row's centre line, the last row's, and the gap between glyphs.
GLYPH_ROW_FIRST_CENTRE = 13.5
GLYPH_ROW_LAST_CENTRE = 444.0
GLYPH_ROWS = 19
GLYPH_ROW_LEFT = 3
GLYPH_GAP = 5
# Glyphs whose place in the line depends on where they sit in their em box (small kana, the
# full stop and comma, corner brackets): their rectangle keeps the height of a full-size kana, so
# the message drawer, which centres each glyph vertically, sets them low or high as they belong.
LINE_BOX_CHARS = set("ぁぃぅぇぉっゃゅょァィゥェォッャュョ。、「」『』")
LINE_BOX_REFERENCE = "あ"

# Fixed rows: the message drawer and the battle rely on them.
PINNED = {
    0: ("", (0, 0, 1, 1)),
    1: ("あ", (3, 5, 20, 22)),
    2: ("い", (25, 6, 41, 21)),
    336: ("下", (275, 435, 293, 453)),
}


# --------------------------------------------------------------------------- input files

def read_tsv(path):
    rows = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            rows.append(line.split("\t"))
    return rows


def read_glyphs():
    glyphs = []
    for cells in read_tsv(GLYPHS_TSV):
        if len(cells) != 7:
            raise SystemExit("glyphs.tsv: expected 7 columns: %r" % cells)
        number, ch, code = int(cells[0]), cells[1], int(cells[2], 16)
        rect = tuple(int(v) for v in cells[3:7])
        if len(ch) > 1 or (ord(ch) if ch else 0) != code:
            raise SystemExit("glyphs.tsv: glyph %d: character and code differ" % number)
        glyphs.append({"number": number, "char": ch, "code": code, "rect": rect})
    if [g["number"] for g in glyphs] != list(range(GLYPH_COUNT)):
        raise SystemExit("glyphs.tsv: glyphs must be numbered 0..%d in order" % (GLYPH_COUNT - 1))
    for number, (ch, _) in PINNED.items():
        if glyphs[number]["char"] != ch:
            raise SystemExit("glyphs.tsv: glyph %d must be %r" % (number, ch))
    return glyphs


def write_glyphs(glyphs):
    with open(GLYPHS_TSV, "w", encoding="utf-8", newline="\n") as f:
        f.write("# number\tcharacter\tcode\tleft\ttop\tright\tbottom\n")
        for g in glyphs:
            f.write("%d\t%s\t0x%04X\t%d\t%d\t%d\t%d\n" % ((g["number"], g["char"], g["code"])
                                                         + tuple(g["rect"])))


def read_catalogue():
    pictures = {}
    order = []
    for cells in read_tsv(CATALOGUE_TSV):
        if len(cells) != 7:
            raise SystemExit("sheet2.tsv: expected 7 columns: %r" % cells)
        name = cells[0]
        rect = tuple(int(v) for v in cells[1:5])
        l, t, r, b = rect
        if not (0 <= l < r <= SHEET_W and 0 <= t < b <= SHEET_H):
            raise SystemExit("sheet2.tsv: %s lies outside the sheet" % name)
        if name in pictures:
            raise SystemExit("sheet2.tsv: %s twice" % name)
        pictures[name] = {"name": name, "rect": rect, "shows": cells[5], "words": cells[6]}
        order.append(name)
    return pictures, order


# --------------------------------------------------------------------------- outlined letters

def outlined(text, size, bold=True, ink=style.INK, outline=style.SHADOW):
    """Text as a tile on the colour key: light letters inside a one-texel dark outline. The outer
    edge is hard, so no half-green texel is left around the letters; the letters are smoothed
    against their outline only. Returns (tile, top of the tile relative to the pen's top)."""
    f = style.font(size, bold)
    pad = 4
    l, t, r, b = f.getbbox(text, anchor="la")
    w, h = r - l + 2 * pad, b - t + 2 * pad
    cover = Image.new("L", (w, h), 0)
    ImageDraw.Draw(cover).text((pad - l, pad - t), text, font=f, fill=255, anchor="la")
    region = cover.point(lambda v: 255 if v >= OUTLINE_THRESHOLD else 0).filter(
        ImageFilter.MaxFilter(3))
    box = region.getbbox()
    if box is None:
        raise SystemExit("nothing drawn for %r" % text)
    tile = Image.new("RGBA", (w, h), style.KEY)
    body = Image.new("RGBA", (w, h), ink)
    rim = Image.new("RGBA", (w, h), outline)
    letters = Image.composite(body, rim, cover)
    tile.paste(letters, (0, 0), region)
    return tile.crop(box), box[1] - pad + t


def glyph_tile(ch, line_box):
    """One glyph cut to its drawn size; line-box glyphs keep the full kana height."""
    tile, top = outlined(ch, GLYPH_SIZE, GLYPH_BOLD)
    if ch not in LINE_BOX_CHARS:
        return tile
    ref_top, ref_bottom = line_box
    new_top = min(top, ref_top)
    new_bottom = max(top + tile.height, ref_bottom)
    boxed = Image.new("RGBA", (tile.width, new_bottom - new_top), style.KEY)
    boxed.paste(tile, (0, top - new_top))
    return boxed


def glyph_line_box():
    ref, top = outlined(LINE_BOX_REFERENCE, GLYPH_SIZE, GLYPH_BOLD)
    return top, top + ref.height


# --------------------------------------------------------------------------- glyph layout

def row_centre(row):
    step = (GLYPH_ROW_LAST_CENTRE - GLYPH_ROW_FIRST_CENTRE) / (GLYPH_ROWS - 1)
    return GLYPH_ROW_FIRST_CENTRE + row * step


def rows_for_width(sizes, limit):
    """Greedy rows of glyphs 1..336 no wider than limit; glyph 336 closes the last row."""
    rows, row, x = [], [], GLYPH_ROW_LEFT
    for number in range(1, GLYPH_COUNT):
        w = sizes[number][0]
        if row and x + w > limit:
            rows.append(row)
            row, x = [], GLYPH_ROW_LEFT
        row.append(number)
        x += w + GLYPH_GAP
    rows.append(row)
    return rows


def layout_glyphs(glyphs, tiles):
    """Places every glyph in rows between the fixed first and last glyphs. Row width is chosen so
    that there are exactly GLYPH_ROWS rows and the last glyph, 下, can stand at its fixed place."""
    sizes = {n: tiles[n].size for n in range(1, GLYPH_COUNT)}
    for number, (_, rect) in PINNED.items():
        if number == 0:
            continue
        w, h = sizes[number]
        pw, ph = rect[2] - rect[0], rect[3] - rect[1]
        if w > pw or h > ph:
            raise SystemExit("glyph %d is %dx%d, larger than its fixed %dx%d" % (number, w, h,
                                                                                 pw, ph))
        sizes[number] = (pw, ph)
    last_left = PINNED[GLYPH_COUNT - 1][1][0]
    best = None
    for limit in range(200, 1000):
        rows = rows_for_width(sizes, limit)
        if len(rows) != GLYPH_ROWS:
            continue
        natural = GLYPH_ROW_LEFT + sum(sizes[n][0] + GLYPH_GAP for n in rows[-1][:-1])
        if natural <= last_left and (best is None or natural > best[0]):
            best = (natural, limit, rows)
    if best is None:
        raise SystemExit("no glyph layout puts glyph 336 at its place")
    rows = best[2]
    for r, numbers in enumerate(rows):
        x = GLYPH_ROW_LEFT
        for number in numbers:
            w, h = sizes[number]
            if number in PINNED:
                glyphs[number]["rect"] = PINNED[number][1]
                x = PINNED[number][1][2] + GLYPH_GAP
                continue
            top = int(math.floor(row_centre(r) - h / 2.0 + 0.5))
            glyphs[number]["rect"] = (x, top, x + w, top + h)
            x += w + GLYPH_GAP
    glyphs[0]["rect"] = PINNED[0][1]
    # The fixed positions must agree with the rows they stand in.
    for number in (1, 2, GLYPH_COUNT - 1):
        if glyphs[number]["rect"] != PINNED[number][1]:
            raise SystemExit("glyph %d left its fixed place" % number)


def draw_glyphs(img, glyphs, tiles):
    # Glyph 0 is never drawn; its texel is kept opaque white, a plain texel for solid fills.
    img.putpixel((0, 0), (255, 255, 255, 255))
    for g in glyphs[1:]:
        l, t, r, b = g["rect"]
        tile = tiles[g["number"]]
        if tile.width > r - l or tile.height > b - t:
            raise SystemExit("glyph %d (%s) does not fit its rectangle; run --layout" % (
                g["number"], g["char"]))
        img.paste(tile, (l + (r - l - tile.width) // 2, t + (b - t - tile.height) // 2))


# --------------------------------------------------------------------------- page drawing

PAGE_TOP = (22, 26, 54, 255)
PAGE_BOTTOM = (40, 48, 92, 255)
SECTION_FILL = (30, 36, 70, 255)
KEYCAP_FACE = (236, 230, 214, 255)
KEYCAP_EDGE = (150, 140, 120, 255)
BODY_SIZE = 15
BODY_LINE = 21
HEADING_SIZE = 17
TITLE_SIZE = 26

NO_LINE_START = set("。、！？」』）ー…・ぁぃぅぇぉっゃゅょァィゥェォッャュョ")


def vertical_gradient(draw, rect, top, bottom):
    l, t, r, b = rect
    for y in range(t, b):
        a = (y - t) / max(1, b - t - 1)
        c = tuple(int(round(top[i] + (bottom[i] - top[i]) * a)) for i in range(3)) + (255,)
        draw.line((l, y, r - 1, y), fill=c)


def text_width(s, size, bold=False):
    return style.font(size, bold).getlength(s)


def wrap(text, width, size, bold=False):
    """Breaks Japanese text at any character, keeping closing marks and small kana off the start
    of a line. A "/" forces a break."""
    lines = []
    for para in text.split("/"):
        line = ""
        for ch in para:
            if line and text_width(line + ch, size, bold) > width:
                if ch not in NO_LINE_START:
                    lines.append(line)
                    line = ""
                elif len(line) > 1:
                    # A closing mark may not start a line: it takes the last letter along.
                    lines.append(line[:-1])
                    line = line[-1]
            line += ch
        if text_width(line, size, bold) > width + 1:
            raise SystemExit("cannot fit %r in %d" % (line, width))
        lines.append(line)
    return lines


def section(draw, rect, words):
    """A framed section: a gold heading, then wrapped body text. Words: heading|body."""
    l, t, r, b = rect
    style.panel(draw, rect, frame=style.PANEL_FRAME, fill=SECTION_FILL)
    heading, _, body = words.partition("|")
    style.text(draw, (l + 12, t + 8), heading, HEADING_SIZE, fill=style.ACCENT, bold=True)
    y = t + 8 + HEADING_SIZE + 9
    bottom = y
    for line in wrap(body, r - l - 24, BODY_SIZE):
        style.text(draw, (l + 12, y), line, BODY_SIZE)
        bottom = draw.textbbox((l + 12, y), line, font=style.font(BODY_SIZE))[3] + 1
        y += BODY_LINE
    if bottom + 6 > b:
        raise SystemExit("section text overflows %r by %d" % (heading, bottom + 6 - b))


def keycap(draw, x, y, label):
    """A key drawn as a small light cap; returns its right edge."""
    size = 13
    w = max(22, int(math.ceil(text_width(label, size, True))) + 12)
    h = 22
    draw.rounded_rectangle((x, y + 2, x + w - 1, y + h + 1), radius=4, fill=style.SHADOW)
    draw.rounded_rectangle((x, y, x + w - 1, y + h - 1), radius=4, fill=KEYCAP_FACE,
                           outline=KEYCAP_EDGE)
    draw.text((x + w / 2, y + h / 2), label, font=style.font(size, True), fill=style.INK_DARK,
              anchor="mm")
    return x + w


def keys_section(draw, rect, words):
    """Words: heading|keys=what|keys=what…, keys separated by spaces."""
    l, t, r, b = rect
    style.panel(draw, rect, frame=style.PANEL_FRAME, fill=SECTION_FILL)
    parts = words.split("|")
    style.text(draw, (l + 12, t + 8), parts[0], HEADING_SIZE, fill=style.ACCENT, bold=True)
    y = t + 8 + HEADING_SIZE + 10
    column = l + 170
    for entry in parts[1:]:
        keys, _, what = entry.partition("=")
        x = l + 14
        for k in keys.split(" "):
            x = keycap(draw, x, y, k) + 5
        if x > column:
            raise SystemExit("keys too wide: %r" % keys)
        style.text(draw, (column, y + 2), what, BODY_SIZE)
        if column + text_width(what, BODY_SIZE) > r - 10:
            raise SystemExit("key text too wide: %r" % what)
        y += 25
    if y > b:
        raise SystemExit("keys section overflows")


def page_background(draw, rect):
    vertical_gradient(draw, rect, PAGE_TOP, PAGE_BOTTOM)
    l, t, r, b = rect
    draw.rectangle((l, t, r - 1, b - 1), outline=style.PANEL_FRAME)
    draw.rectangle((l + 3, t + 3, r - 4, b - 4), outline=(96, 88, 70, 255))


def page_title(draw, rect, words):
    l, t, r, b = rect
    title, _, number = words.partition("|")
    style.text(draw, (l + 24, t + (b - t) // 2), title, TITLE_SIZE, fill=style.ACCENT, bold=True,
               anchor="lm")
    style.text(draw, (r - 24, t + (b - t) // 2), number, HEADING_SIZE, fill=style.INK,
               bold=True, anchor="rm")
    draw.line((l + 20, b - 2, r - 21, b - 2), fill=style.ACCENT)
    draw.line((l + 20, b - 1, r - 21, b - 1), fill=(120, 96, 40, 255))


def page_footer(draw, rect, words):
    l, t, r, b = rect
    style.text(draw, ((l + r) // 2, (t + b) // 2), words, 14, fill=style.INK, anchor="mm")


# --------------------------------------------------------------------------- the end picture

def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3)) + (255,)


def ridge(rng, width, base, amplitude, roughness):
    """A mountain line: midpoint displacement over the width, deterministic."""
    n = 64
    pts = [base + rng.uniform(-amplitude, amplitude) for _ in range(2)]
    span = amplitude
    while len(pts) < n + 1:
        nxt = []
        for i in range(len(pts) - 1):
            nxt.append(pts[i])
            nxt.append((pts[i] + pts[i + 1]) / 2 + rng.uniform(-span, span))
        nxt.append(pts[-1])
        pts = nxt
        span *= roughness
    step = width / (len(pts) - 1)
    return [(i * step, y) for i, y in enumerate(pts)]


def end_picture(img, rect):
    """Evening over the land the three travellers crossed: the road leads home to the castle."""
    l, t, r, b = rect
    w, h = r - l, b - t
    pic = Image.new("RGBA", (w, h), (0, 0, 0, 255))
    d = ImageDraw.Draw(pic)
    rng = random.Random(1957)
    horizon = 300
    sky = [(0, (14, 16, 48)), (150, (54, 44, 104)), (240, (196, 96, 92)), (300, (252, 190, 110))]
    for y in range(horizon):
        for (y0, c0), (y1, c1) in zip(sky, sky[1:]):
            if y0 <= y <= y1:
                d.line((0, y, w - 1, y), fill=lerp(c0, c1, (y - y0) / (y1 - y0)))
                break
    for _ in range(140):
        x, y = rng.randrange(w), rng.randrange(0, 170)
        v = rng.randrange(150, 256)
        if rng.random() < 0.12:
            d.line((x - 1, y, x + 1, y), fill=(v, v, 230, 255))
            d.line((x, y - 1, x, y + 1), fill=(v, v, 230, 255))
        else:
            d.point((x, y), fill=(v, v, 220, 255))
    # The setting sun with its glow, blended into the sky.
    sun = (452, horizon - 62)
    glow = Image.new("L", (w, h), 0)
    gd = ImageDraw.Draw(glow)
    for radius in range(150, 30, -2):
        a = 1.0 - (radius - 30) / 120.0
        gd.ellipse((sun[0] - radius, sun[1] - radius * 0.7, sun[0] + radius,
                    sun[1] + radius * 0.7), fill=int(200 * a * a))
    pic = Image.composite(Image.new("RGBA", (w, h), (255, 214, 150, 255)), pic, glow)
    d = ImageDraw.Draw(pic)
    d.ellipse((sun[0] - 30, sun[1] - 30, sun[0] + 30, sun[1] + 30), fill=(255, 240, 196, 255))
    # Mountains, farthest first.
    layers = [(236, 34, 0.62, (120, 78, 120)), (262, 28, 0.58, (86, 58, 100)),
              (290, 22, 0.55, (58, 44, 80))]
    for base, amp, rough, colour in layers:
        pts = ridge(rng, w, base, amp, rough)
        d.polygon(pts + [(w, h), (0, h)], fill=colour + (255,))
    # Meadow and the winding road.
    for y in range(300, h):
        d.line((0, y, w - 1, y), fill=lerp((60, 86, 70), (28, 48, 40), (y - 300) / (h - 300)))
    # The hill the castle stands on.
    hill = [(20 + i * 4, 300 - 26 * math.sin(math.pi * i / 60.0)) for i in range(61)]
    d.polygon(hill, fill=(56, 82, 66, 255))
    road = []
    for i in range(0, 181):
        s = i / 180.0
        y = 292 + (h - 292) * s * s
        x = 146 + 200 * s + math.sin(s * 6.0) * 60 * s
        half = 4 + 66 * s * s
        road.append((x, y, half))
    left = [(x - half, y) for x, y, half in road]
    right = [(x + half, y) for x, y, half in reversed(road)]
    d.polygon(left + right, fill=(176, 150, 110, 255))
    for x, y, half in road[::12]:
        d.line((x - half * 0.15, y, x + half * 0.15, y), fill=(200, 178, 136, 255))
    # The castle on its hill, against the sun.
    castle = (96, 52, 76, 255)
    d.rectangle((90, 232, 200, 292), fill=castle)
    for x in range(90, 201, 14):
        d.rectangle((x, 226, x + 7, 232), fill=castle)
    for tx, top in ((78, 200), (196, 206), (136, 180)):
        d.rectangle((tx, top, tx + 20, 292), fill=castle)
        d.polygon([(tx - 3, top), (tx + 23, top), (tx + 10, top - 26)], fill=(120, 52, 70, 255))
        d.rectangle((tx + 8, top + 12, tx + 12, top + 18), fill=(255, 214, 120, 255))
    d.line((146, 154, 146, 130), fill=(40, 30, 40, 255))
    d.polygon([(146, 130), (164, 136), (146, 142)], fill=(236, 196, 92, 255))
    d.rectangle((136, 268, 156, 292), fill=(40, 28, 40, 255))
    # Fireflies over the meadow.
    for _ in range(36):
        x, y = rng.randrange(w), rng.randrange(310, h)
        d.ellipse((x - 1, y - 1, x + 1, y + 1), fill=(230, 240, 150, 255))
    # The three travellers on the road, seen from behind, their four-member bands behind them.
    cloaks = [(214, 76, 64), (64, 132, 214), (236, 196, 92)]
    for i, cloak in enumerate(cloaks):
        x, y = 228 + i * 36, 404 + (1 - abs(i - 1)) * -8
        d.ellipse((x - 14, y + 44, x + 14, y + 52), fill=(22, 34, 28, 255))
        d.polygon([(x - 13, y + 46), (x + 13, y + 46), (x + 8, y + 8), (x - 8, y + 8)],
                  fill=cloak + (255,))
        d.ellipse((x - 8, y - 8, x + 8, y + 8), fill=(60, 40, 36, 255))
        d.line((x + 10, y + 2, x + 18, y - 22), fill=(90, 66, 44, 255), width=2)
    # Birds heading home.
    for bx, by in ((470, 120), (492, 110), (512, 126), (540, 104)):
        d.line((bx - 6, by - 3, bx, by), fill=(40, 30, 50, 255), width=2)
        d.line((bx, by, bx + 6, by - 3), fill=(40, 30, 50, 255), width=2)
    img.paste(pic, (l, t))


# --------------------------------------------------------------------------- the credits

CREDIT_SIZE = 15


def credit(img, rect, words, heading):
    """A credit line: outlined letters on the colour key, centred in its rectangle; headings in
    gold."""
    l, t, r, b = rect
    # A clear texel all round; a line whose rectangle is too low for the usual size steps down.
    for size in range(CREDIT_SIZE, CREDIT_SIZE - 3, -1):
        tile, _ = outlined(words, size, True, ink=style.ACCENT if heading else style.INK)
        if tile.width <= r - l - 2 and tile.height <= b - t - 2:
            break
    else:
        raise SystemExit("credit %r (%dx%d) does not fit %r" % (words, tile.width, tile.height,
                                                                 rect))
    img.paste(tile, (l + (r - l - tile.width) // 2, t + (b - t - tile.height) // 2))


def prompt(img, draw, rect, words):
    """The prompt after the credits: a small framed plate."""
    l, t, r, b = rect
    style.panel(draw, rect, frame=style.PANEL_FRAME, fill=style.PANEL_FILL)
    tile, _ = outlined(words, 14, True)
    if tile.width > r - l - 4 or tile.height > b - t - 4:
        raise SystemExit("prompt does not fit")
    img.paste(tile, (l + (r - l - tile.width) // 2, t + (b - t - tile.height) // 2))


# --------------------------------------------------------------------------- main

def main():
    relayout = "--layout" in sys.argv[1:]
    glyphs = read_glyphs()
    line_box = glyph_line_box()
    tiles = {g["number"]: glyph_tile(g["char"], line_box) for g in glyphs[1:]}
    if relayout:
        layout_glyphs(glyphs, tiles)
        write_glyphs(glyphs)
    pictures, order = read_catalogue()

    img, draw = style.new_sheet(SHEET_W, SHEET_H)
    for name in order:
        p = pictures[name]
        rect, words = p["rect"], p["words"]
        if name in ("glyphs", "white_texel"):
            continue
        if name in ("page0", "page1"):
            page_background(draw, rect)
        elif name.endswith(".title"):
            page_title(draw, rect, words)
        elif name.endswith(".keys"):
            keys_section(draw, rect, words)
        elif name.endswith(".footer"):
            page_footer(draw, rect, words)
        elif name.startswith("page"):
            section(draw, rect, words)
        elif name == "end":
            end_picture(img, rect)
        elif name.startswith("credit"):
            credit(img, rect, words, "heading" in p["shows"])
        elif name == "prompt":
            prompt(img, draw, rect, words)
        else:
            raise SystemExit("sheet2.tsv: no drawing for %s" % name)
    draw_glyphs(img, glyphs, tiles)
    style.save_png(img.convert("RGB"), SHEET_PNG)


if __name__ == "__main__":
    main()
