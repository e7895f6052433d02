#!/usr/bin/python3
"""Contact sheets of the second texture for review, under docs/:

  docs/sheet2_contact.png   the whole sheet at half size, the colour key shown as a grey checker
  docs/sheet2_glyphs.png    the glyph area at 1:1 and twice its size
  docs/sheet2_messages.png  the fixed battle messages and a story message, set glyph by glyph
                            the way the game's message window places them (1:1)

    /usr/bin/python3 tools/content/contact_sheet2.py
"""
import os
import sys

from PIL import Image, ImageChops, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import style  # noqa: E402

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
SHEET_PNG = os.path.join(ROOT, "content", "art", "sheet2.png")
GLYPHS_TSV = os.path.join(ROOT, "content", "glyphs", "glyphs.tsv")
DOCS = os.path.join(ROOT, "docs")


def keyed(img):
    """The sheet as the game sees it: pure green texels transparent."""
    rgb = img.convert("RGB")
    diff = ImageChops.difference(rgb, Image.new("RGB", rgb.size, style.KEY[:3])).convert("L")
    alpha = diff.point(lambda v: 255 if v > 0 else 0)
    out = rgb.convert("RGBA")
    out.putalpha(alpha)
    return out


def checker(size, cell=8):
    img = Image.new("RGBA", size, (92, 92, 92, 255))
    d = ImageDraw.Draw(img)
    for y in range(0, size[1], cell):
        for x in range((y // cell) % 2 * cell, size[0], 2 * cell):
            d.rectangle((x, y, x + cell - 1, y + cell - 1), fill=(120, 120, 120, 255))
    return img


def read_glyphs():
    glyphs, by_char = {}, {}
    with open(GLYPHS_TSV, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            c = line.rstrip("\n").split("\t")
            n = int(c[0])
            glyphs[n] = tuple(int(v) for v in c[3:7])
            if c[1] and c[1] not in by_char:
                by_char[c[1]] = n
    return glyphs, by_char


def set_line(canvas, sheet, glyphs, numbers, x, top):
    """One message line: x advances by width + 4, each glyph centred in a 20-pixel line."""
    for n in numbers:
        if n == 0:
            break
        l, t, r, b = glyphs[n]
        w, h = r - l, b - t
        y = top + int((20 - h) / 2.0 + 0.5)
        piece = sheet.crop((l, t, r, b))
        canvas.alpha_composite(piece, (int(x + 0.5), y))
        x += w + 4


def main():
    os.makedirs(DOCS, exist_ok=True)
    sheet = keyed(Image.open(SHEET_PNG))
    glyphs, by_char = read_glyphs()

    half = sheet.resize((sheet.width // 2, sheet.height // 2), Image.LANCZOS)
    contact = checker(half.size)
    contact.alpha_composite(half)
    style.save_png(contact.convert("RGB"), os.path.join(DOCS, "sheet2_contact.png"))

    area = sheet.crop((0, 0, 420, 460))
    glyph_sheet = checker((420 + 840 + 12, 920))
    glyph_sheet.alpha_composite(area, (0, 0))
    glyph_sheet.alpha_composite(area.resize((840, 920), Image.NEAREST), (432, 0))
    style.save_png(glyph_sheet.convert("RGB"), os.path.join(DOCS, "sheet2_glyphs.png"))

    digits = lambda v: [129 + int(ch) for ch in str(v)]  # noqa: E731
    start = [116, 123, 86, 128, 123, 26]
    lines = [
        [157, 50, 153, 39, 16],
        [116, 123, 86, 128, 123, 25, 165, 166],
        [157, 25, 165, 166],
        start + digits(12) + [25, 114, 101, 123, 117, 45, 156, 4, 16],
        start + digits(7) + [25, 114, 101, 123, 117, 45, 155, 9, 16],
        [116, 123, 86, 128, 123, 26, 157, 45, 158, 12, 16],
        digits(500) + [25, 5, 246, 20] + digits(250) + [25, 174, 175, 176, 45, 177, 16],
        [116, 123, 86, 128, 123, 26, 178, 179, 22, 315, 9, 16],
        [118, 123, 100, 72, 123, 115, 123],
        [130, 162, 163, 32, 53, 13],
        [by_char[ch] for ch in "「北の森で、薬草を探してきてほしい。」"],
        [by_char[ch] for ch in "ようこそ！ショップへ。何を買いますか？"],
    ]
    panel_h = 34
    canvas = Image.new("RGBA", (560, 12 + panel_h * len(lines)), (70, 96, 70, 255))
    d = ImageDraw.Draw(canvas)
    for i, numbers in enumerate(lines):
        top = 8 + i * panel_h
        # The message panel as the game tints it: dark interior at alpha 150 over the board.
        overlay = Image.new("RGBA", canvas.size, (0, 0, 0, 0))
        od = ImageDraw.Draw(overlay)
        od.rectangle((8, top, 551, top + panel_h - 5), fill=style.PANEL_FILL[:3] + (150,))
        canvas.alpha_composite(overlay)
        d.rectangle((8, top, 551, top + panel_h - 5), outline=style.PANEL_FRAME)
        set_line(canvas, sheet, glyphs, numbers, 24, top + 5)
    style.save_png(canvas.convert("RGB"), os.path.join(DOCS, "sheet2_messages.png"))


if __name__ == "__main__":
    main()
