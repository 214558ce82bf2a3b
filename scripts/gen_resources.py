#!/usr/bin/python3
"""Generates Vostrel's picture resources reproducibly.

Run with Debian's python3 (it needs python3-pil):
    /usr/bin/python3 scripts/gen_resources.py
The outputs are committed under resources/images/, so a build never needs
this script; rerun it after changing a picture here.
"""
import math
import os
import struct

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources", "images")


def supersample(size, draw, scale=8):
    """Draws at `scale` times the size and reduces with a box filter, for
    smooth edges that come out the same on every run."""
    big = Image.new("RGBA", (size[0] * scale, size[1] * scale), (0, 0, 0, 0))
    draw(ImageDraw.Draw(big), scale)
    return big.resize(size, Image.BOX)


def write_ico(path, img):
    """One 32 x 32 image, 32 bits per pixel, in the classic bitmap form
    (BITMAPINFOHEADER, bottom-up BGRA rows, then the AND mask)."""
    w, h = img.size
    px = img.load()
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a))
    row = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        bits = bytearray(row)
        for x in range(w):
            if px[x, y][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    entry = struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1) + entry + image)


def program_icon():
    """A rounded blue tile with a white play triangle and a light rim."""
    def draw(d, s):
        d.rounded_rectangle((1 * s, 1 * s, 31 * s - 1, 31 * s - 1), radius=7 * s,
                            fill=(24, 92, 196, 255), outline=(150, 200, 255, 255), width=s)
        cx, cy, r = 16.8 * s, 16 * s, 8.5 * s
        pts = [(cx + r * math.cos(a), cy + r * math.sin(a))
               for a in (0, 2 * math.pi / 3, 4 * math.pi / 3)]
        d.polygon(pts, fill=(255, 255, 255, 255))
    return supersample((32, 32), draw)


def main():
    os.makedirs(OUT, exist_ok=True)
    write_ico(os.path.join(OUT, "vostrel.ico"), program_icon())


if __name__ == "__main__":
    main()
