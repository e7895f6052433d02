"""The one hand of every picture with words: fonts, palette and panel drawing.

Content generators run with Debian's python3 and python3-pil, and the fonts-noto-cjk
package. They run by hand (see tools/content/README.md); their outputs are committed, so an
ordinary build needs neither Python nor a font.
"""
from PIL import Image, ImageDraw, ImageFont

FONT_REGULAR = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
FONT_BOLD = "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"
FONT_INDEX_JP = 0  # the Japanese face of the collections

# Opaque pure green: the colour key, transparent once loaded.
KEY = (0, 255, 0, 255)

INK = (245, 240, 228, 255)        # text on dark panels
INK_DARK = (40, 32, 28, 255)      # text on light paper
SHADOW = (20, 16, 30, 255)
ACCENT = (236, 196, 92, 255)      # gold: headings, cursors
PANEL_FRAME = (228, 214, 170, 255)
PANEL_FILL = (34, 40, 78, 255)    # the interior is drawn tinted and translucent by the game
WARN = (214, 76, 64, 255)

_fonts = {}


def font(size, bold=False):
    key = (size, bold)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(FONT_BOLD if bold else FONT_REGULAR, size,
                                         index=FONT_INDEX_JP)
    return _fonts[key]


def text(draw, xy, s, size, fill=INK, bold=False, shadow=True, anchor="la"):
    """Text with a one-pixel drop shadow, the game's house look for words on pictures."""
    f = font(size, bold)
    x, y = xy
    if shadow:
        draw.text((x + 1, y + 1), s, font=f, fill=SHADOW, anchor=anchor)
    draw.text((x, y), s, font=f, fill=fill, anchor=anchor)


def panel(draw, rect, frame=PANEL_FRAME, fill=PANEL_FILL, border=2):
    """A panel with a frame of `border` texels around a plain interior (left, top, right, bottom
    exclusive), the shape the game's panel drawer cuts into five pieces."""
    l, t, r, b = rect
    draw.rectangle((l, t, r - 1, b - 1), fill=frame)
    draw.rectangle((l + border, t + border, r - 1 - border, b - 1 - border), fill=fill)


def new_sheet(width, height, fill=KEY):
    img = Image.new("RGBA", (width, height), fill)
    return img, ImageDraw.Draw(img)


def save_png(img, path):
    """Deterministic PNG: no metadata, fixed compression."""
    img.save(path, format="PNG", optimize=False, compress_level=9)


# ---------------------------------------------------------------------------------------------
# Words that stand on their own (menu entries, labels, names over panels): drawn over the colour
# key with a dark one-texel outline, so that they read on any background and no anti-aliased
# edge is ever blended with the key green.

SERIF_BOLD = "/usr/share/fonts/opentype/noto/NotoSerifCJK-Bold.ttc"
OUTLINE = (16, 12, 24, 255)       # outline of keyed words and figures
GOLD_DARK = (140, 104, 44, 255)   # inner line of panel frames
PANEL_TOP = (46, 54, 104, 255)    # interior gradient of panels, top ...
PANEL_BOTTOM = (24, 28, 58, 255)  # ... and bottom

_serif = {}


def serif(size):
    if size not in _serif:
        _serif[size] = ImageFont.truetype(SERIF_BOLD, size, index=FONT_INDEX_JP)
    return _serif[size]


def ink_box(s, f, stroke=0):
    """The box (left, top, right, bottom) the words cover when drawn at (0, 0) with anchor "ls"."""
    return f.getbbox(s, anchor="ls", stroke_width=stroke)


def fit_font(s, width, height, bold=False, max_size=None, min_size=7, stroke=1, face=None):
    """The largest size at which the words, outline included, fit width x height."""
    top = max_size or height
    for size in range(top, min_size - 1, -1):
        f = face(size) if face else font(size, bold)
        l, t, r, b = ink_box(s, f, stroke)
        if r - l <= width and b - t <= height:
            return f
    return face(min_size) if face else font(min_size, bold)


def words_layer(size, s, f, fill=INK, outline=OUTLINE, stroke=1, align="center", valign="center"):
    """Words on a transparent layer of the given size, placed inside it by their drawn ink."""
    w, h = size
    layer = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    l, t, r, b = ink_box(s, f, stroke)
    if align == "left":
        x = -l
    elif align == "right":
        x = w - r
    else:
        x = (w - (r - l)) // 2 - l
    if valign == "top":
        y = -t
    else:
        y = (h - (b - t)) // 2 - t
    if stroke and outline:
        d.text((x, y), s, font=f, fill=fill, anchor="ls", stroke_width=stroke, stroke_fill=outline)
    else:
        d.text((x, y), s, font=f, fill=fill, anchor="ls")
    return layer


def keyed(layer, threshold=110):
    """An RGBA layer made colour-keyed: texels at least `threshold` opaque become fully opaque in
    their own colour, the rest become the key green. (No palette colour of ours is pure green.)"""
    out = Image.new("RGBA", layer.size, KEY)
    mask = layer.getchannel("A").point(lambda a: 255 if a >= threshold else 0)
    out.paste(layer.convert("RGB"), (0, 0), mask)
    return out


def flatten(layer, background):
    """An RGBA layer composited over an opaque background colour or image of the same size."""
    if isinstance(background, tuple):
        base = Image.new("RGBA", layer.size, background)
    else:
        base = background.copy()
    base.alpha_composite(layer)
    return base


def gradient(size, top, bottom, horizontal=False):
    """An opaque linear gradient from `top` to `bottom` (left to right when horizontal)."""
    w, h = size
    img = Image.new("RGBA", (w, h))
    d = ImageDraw.Draw(img)
    n = w if horizontal else h
    for i in range(n):
        k = i / max(1, n - 1)
        c = tuple(round(top[j] + (bottom[j] - top[j]) * k) for j in range(3)) + (255,)
        if horizontal:
            d.line((i, 0, i, h - 1), fill=c)
        else:
            d.line((0, i, w - 1, i), fill=c)
    return img


def framed_panel(size, top=PANEL_TOP, bottom=PANEL_BOTTOM, outer=PANEL_FRAME, inner=GOLD_DARK):
    """A panel picture: a frame of two texels (light outer line, dark inner line) around an
    interior of a soft vertical gradient, which stays even when the game draws it translucent."""
    w, h = size
    img = gradient(size, top, bottom)
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, w - 1, h - 1), outline=outer)
    d.rectangle((1, 1, w - 2, h - 2), outline=inner)
    return img
