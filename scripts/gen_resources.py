#!/usr/bin/python3
"""Generates Vostrel's picture resources reproducibly.

Run with Debian's python3 (it needs python3-pil):
    /usr/bin/python3 scripts/gen_resources.py
The outputs are committed under resources/images/, so a build never needs
this script; rerun it after changing a picture here.
"""
import math
import os
import random
import struct

from PIL import Image, ImageDraw, ImageFilter

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


# ---------------------------------------------------------------------------
# Caption buttons: white glyphs with a grey anti-aliased rim on a transparent
# ground, so they read on light and dark backgrounds alike.

def glyph_layer(size, draw, scale=8):
    """Draws the glyph shape (white on transparent) at `scale` times the size
    and returns its coverage, reduced with a box filter (values 0-255)."""
    big = Image.new("L", (size[0] * scale, size[1] * scale), 0)
    draw(ImageDraw.Draw(big), scale)
    return big.resize(size, Image.BOX)


def compose_glyph(size, cover):
    """A white glyph from its coverage, with a one-pixel grey rim around it:
    partial coverage shows as grey, full coverage as white."""
    w, h = size
    rim = cover.filter(ImageFilter.MaxFilter(3))
    out = Image.new("RGBA", size, (0, 0, 0, 0))
    cp, rp, op = cover.load(), rim.load(), out.load()
    for y in range(h):
        for x in range(w):
            c, r = cp[x, y], rp[x, y]
            if c == 0 and r == 0:
                continue
            # Rim: mid-grey at half strength; glyph: grey blending to white
            # as coverage grows (the anti-aliased edge reads grey).
            rim_a = r * 0.45
            a = c + rim_a * (255 - c) / 255.0
            grey = 96 + (255 - 96) * (c / 255.0)
            op[x, y] = (int(round(grey)), int(round(grey)), int(round(grey)),
                        int(round(min(255.0, a))))
    return out


def overlay_alpha(img, points_alpha):
    """Adds translucent white pixels (x, y, alpha) under the glyph."""
    px = img.load()
    for x, y, a in points_alpha:
        r, g, b, oa = px[x, y]
        if oa == 0:
            px[x, y] = (255, 255, 255, a)


def top_band(w, alphas):
    """The translucent white band over the top rows of the help and menu
    buttons."""
    return [(x, y, a) for y, a in enumerate(alphas) for x in range(w)]


def edge_lines(w, h, right=False):
    """A one-pixel light line along the top edge (alpha 80), a fainter one
    down the left edge of the upper rows (and, for the close button, the
    right edge)."""
    pts = [(x, 0, 80) for x in range(w)]
    for y in range(1, h // 2 + 1):
        a = max(8, 40 - 4 * y)
        pts.append((0, y, a))
        if right:
            pts.append((w - 1, y, a))
    return pts


def stroke_rect(d, s, x0, y0, x1, y1, width=1.0, top=None):
    """An outline of the pixel rectangle x0..x1, y0..y1 (inclusive pixel
    coordinates) drawn on the supersampled canvas."""
    top = width if top is None else top
    d.rectangle((x0 * s, y0 * s, (x1 + 1) * s - 1, (y0 + top) * s - 1), fill=255)
    d.rectangle((x0 * s, (y1 + 1 - width) * s, (x1 + 1) * s - 1, (y1 + 1) * s - 1), fill=255)
    d.rectangle((x0 * s, y0 * s, (x0 + width) * s - 1, (y1 + 1) * s - 1), fill=255)
    d.rectangle(((x1 + 1 - width) * s, y0 * s, (x1 + 1) * s - 1, (y1 + 1) * s - 1), fill=255)


def button_help():
    def draw(d, s):
        # Speech bubble, 12 x 11 overall, a little left of the middle; its
        # outline sits on whole pixels so it stays crisp.
        d.rounded_rectangle((6 * s, 3 * s, 18 * s - 1, 12 * s - 1), radius=3 * s,
                            outline=255, width=s)
        # Tail at the lower left, hanging from the bubble's bottom edge.
        d.polygon([(8 * s, 11 * s), (11.5 * s, 11 * s), (8 * s, 14.5 * s)], fill=255)
        d.polygon([(9 * s, 11 * s - 1), (10 * s, 11 * s - 1), (9 * s, 12.2 * s)], fill=0)
        # Three dots of text inside.
        for cx in (8, 11, 14):
            d.rectangle((cx * s, 7 * s, (cx + 1) * s - 1, 8 * s - 1), fill=255)

    img = compose_glyph((26, 18), glyph_layer((26, 18), draw))
    overlay_alpha(img, top_band(26, (57, 51, 42)))
    return img


def button_menu():
    def draw(d, s):
        # A small window outline with two short lines inside.
        stroke_rect(d, s, 7, 4, 17, 12)
        d.rectangle((7 * s, 4 * s, 18 * s - 1, 6 * s - 1), fill=255)
        d.rectangle((9 * s, 8 * s, 14 * s - 1, 9 * s - 1), fill=255)
        d.rectangle((9 * s, 10 * s, 13 * s - 1, 11 * s - 1), fill=255)
        # Bent arrow at the lower right: down, then right, with its head.
        d.rectangle((16 * s, 12 * s, 17 * s - 1, 15 * s - 1), fill=255)
        d.rectangle((16 * s, 14 * s, 20 * s - 1, 15 * s - 1), fill=255)
        d.polygon([(19.5 * s, 11.5 * s), (22.5 * s, 14.5 * s), (19.5 * s, 17.5 * s)], fill=255)
    img = compose_glyph((26, 18), glyph_layer((26, 18), draw))
    overlay_alpha(img, top_band(26, (44, 43, 41)))
    return img


def button_minimise():
    def draw(d, s):
        d.rectangle((8 * s, 11 * s, 18 * s - 1, 13 * s - 1), fill=255)
    img = compose_glyph((26, 18), glyph_layer((26, 18), draw))
    overlay_alpha(img, edge_lines(26, 18))
    return img


def button_maximise():
    def draw(d, s):
        stroke_rect(d, s, 8, 5, 17, 12, top=2)
    img = compose_glyph((26, 18), glyph_layer((26, 18), draw))
    overlay_alpha(img, edge_lines(26, 18))
    return img


def button_restore():
    def draw(d, s):
        # Back window (upper right), then the front one over it.
        stroke_rect(d, s, 10, 4, 17, 10, top=2)
        d.rectangle((8 * s, 7 * s, 15 * s, 13 * s), fill=0)
        stroke_rect(d, s, 8, 7, 15, 13, top=2)
    img = compose_glyph((26, 18), glyph_layer((26, 18), draw))
    overlay_alpha(img, edge_lines(26, 18))
    return img


def button_close():
    def draw(d, s):
        w = int(1.9 * s)
        d.line([(14.5 * s, 4.0 * s), (23.5 * s, 14.0 * s)], fill=255, width=w)
        d.line([(23.5 * s, 4.0 * s), (14.5 * s, 14.0 * s)], fill=255, width=w)
    img = compose_glyph((38, 18), glyph_layer((38, 18), draw))
    overlay_alpha(img, edge_lines(38, 18, right=True))
    return img


# ---------------------------------------------------------------------------
# Background picture: a calm deep-blue to teal field with soft light shapes,
# dark enough for white text and a blue accent to read on it.

def lerp(a, b, t):
    return a + (b - a) * t


def background_picture(w=850, h=531):
    top_left = (14, 38, 82)
    bottom_right = (18, 96, 112)
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for x in range(w):
            # Diagonal gradient with a gentle vertical darkening at the top,
            # behind the caption band.
            t = (0.62 * x / (w - 1) + 0.38 * y / (h - 1))
            v = 0.82 + 0.18 * min(1.0, y / (h * 0.35))
            px[x, y] = tuple(int(lerp(a, b, t) * v) for a, b in zip(top_left, bottom_right))
    # Soft light shapes: large blurred ellipses and two wave bands.
    glow = Image.new("L", (w, h), 0)
    d = ImageDraw.Draw(glow)
    d.ellipse((520, -160, 1020, 300), fill=70)
    d.ellipse((-180, 300, 360, 760), fill=55)
    d.ellipse((300, 180, 560, 420), fill=28)
    for k, (amp, base, thick, val) in enumerate(((26, 360, 34, 40), (18, 410, 22, 30))):
        pts_top = [(x, base + amp * math.sin(x / 130.0 + k * 1.7)) for x in range(0, w + 10, 10)]
        pts_bot = [(x, y + thick) for x, y in reversed(pts_top)]
        d.polygon(pts_top + pts_bot, fill=val)
    glow = glow.filter(ImageFilter.GaussianBlur(38))
    light = Image.new("RGB", (w, h), (120, 200, 220))
    img = Image.composite(light, img, glow)
    # A faint fixed grain, like a photograph's, so the picture does not band.
    rng = random.Random(850531)
    px = img.load()
    for y in range(h):
        for x in range(w):
            n = rng.randint(-3, 3)
            r, g, b = px[x, y]
            px[x, y] = (max(0, r + n), max(0, g + n), max(0, b + n))
    return img


# ---------------------------------------------------------------------------
# Check-box pictures, 13 x 13 RGBA, drawn pixel for pixel: a diagonally shaded
# interior (light grey at the top left to near white at the bottom right)
# inside a one-pixel border; the checked picture has a blue border and a tick.

CHECK_BOX_SHADES = (
    0xDEDFD6, 0xE0E0D8, 0xE2E2DA, 0xE4E4DC, 0xE7E6DF, 0xE9E8E1, 0xEBE9E3,
    0xEDEBE5, 0xF0EDE8, 0xF2EFEA, 0xF4F1EC, 0xF7F3EF, 0xF7F4F0, 0xF8F5F1,
    0xF9F6F3, 0xF9F7F4, 0xFAF8F6, 0xFBF9F7, 0xFCFAF9, 0xFCFBFA, 0xFDFCFC,
)

CHECK_BOX_TICK = (
    (9, 3), (8, 4), (9, 4), (3, 5), (7, 5), (8, 5), (9, 5),
    (3, 6), (4, 6), (6, 6), (7, 6), (8, 6),
    (3, 7), (4, 7), (5, 7), (6, 7), (7, 7),
    (4, 8), (5, 8), (6, 8), (5, 9),
)


def rgb(value, alpha=255):
    return ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF, alpha)


def check_box(border):
    img = Image.new("RGBA", (13, 13), (0, 0, 0, 0))
    px = img.load()
    for y in range(13):
        for x in range(13):
            if x in (0, 12) or y in (0, 12):
                px[x, y] = border
            else:
                px[x, y] = rgb(CHECK_BOX_SHADES[(x - 1) + (y - 1)])
    return img


def check_box_unchecked():
    return check_box((3, 3, 3, 230))


def check_box_checked():
    img = check_box((0x18, 0x51, 0x84, 255))
    px = img.load()
    for x, y in CHECK_BOX_TICK:
        px[x, y] = (0x24, 0x6E, 0x75, 255)
    return img


# The combo box's drop arrow: an opaque black triangle pointing down, 7 pixels
# wide in its top row and one pixel narrower on each side in every row below.

def combo_arrow():
    img = Image.new("RGBA", (7, 4), (0, 0, 0, 0))
    px = img.load()
    for y in range(4):
        for x in range(y, 7 - y):
            px[x, y] = (0, 0, 0, 255)
    return img


def main():
    os.makedirs(OUT, exist_ok=True)
    write_ico(os.path.join(OUT, "vostrel.ico"), program_icon())
    buttons = {
        "caption_help.png": button_help,
        "caption_menu.png": button_menu,
        "caption_minimise.png": button_minimise,
        "caption_maximise.png": button_maximise,
        "caption_restore.png": button_restore,
        "caption_close.png": button_close,
        "check_box.png": check_box_unchecked,
        "check_box_checked.png": check_box_checked,
        "combo_arrow.png": combo_arrow,
    }
    for name, make in buttons.items():
        # No ancillary chunks, so the bytes are the same on every run.
        make().save(os.path.join(OUT, name), "PNG", optimize=False)
    background_picture().save(os.path.join(OUT, "background.jpg"), "JPEG", quality=88,
                              progressive=False, optimize=False, subsampling=2)


if __name__ == "__main__":
    main()
