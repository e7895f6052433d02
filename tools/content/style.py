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
