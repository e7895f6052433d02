#!/usr/bin/env python3
"""The desktop icons: the window icon's design (a white die showing five on blue) at the
sizes desktop menus ask for. Writes content/desktop/tessaly-<size>.png."""
import pathlib

from PIL import Image, ImageDraw

OUT = pathlib.Path(__file__).resolve().parents[2] / "content" / "desktop"
PIPS = [(9, 9), (22, 9), (15, 15), (9, 22), (22, 22)]


def icon(size):
    s = size / 32
    im = Image.new("RGBA", (size, size), (0x28, 0x50, 0xA0, 255))
    d = ImageDraw.Draw(im)
    d.rectangle([3 * s, 3 * s, 29 * s - 1, 29 * s - 1], fill=(0xF4, 0xF0, 0xE6, 255))
    r = 2.5 * s
    for x, y in PIPS:
        cx, cy = (x + 0.5) * s, (y + 0.5) * s
        d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(0x20, 0x20, 0x20, 255))
    return im


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    for size in (32, 64, 128):
        icon(size).save(OUT / f"tessaly-{size}.png", optimize=True)


if __name__ == "__main__":
    main()
