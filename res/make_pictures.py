#!/usr/bin/python3
"""Draws the program's pictures: res/arrow.png, res/phasebox.ico, res/thumb.cur.

Run by a developer with /usr/bin/python3 (needs python3-pil); the outputs are
committed and the build only embeds them. Output is deterministic, so rerunning
the script leaves the files byte-identical unless the drawing code changed.

The ICO and CUR containers are written here byte by byte because PIL's writers
cannot mix per-size formats (DIB for the small icon images, PNG for 256 px) and
cannot write two-colour cursors with a hot spot.
"""

import io
import math
import os
import struct

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))


# --------------------------------------------------------------------------
# Arrow picture: 512 x 512 RGBA, drawn at 4x and reduced for anti-aliasing.
# --------------------------------------------------------------------------

ARROW_SIZE = 512
ARROW_SS = 4

ARROW_LIGHT = (150, 205, 255, 255)   # left half of the arrow
ARROW_DARK = (96, 165, 236, 255)     # right half, slightly darker
ARROW_EDGE = (60, 60, 64, 255)       # dark grey outline


def arrow_outline(s):
    """Closed contour of the arrow, in picture pixels scaled by s.

    The shaft runs right from the left edge near the top, turns clockwise
    through a quarter circle and runs straight down into a downward head.
    """
    band = 116                 # shaft thickness
    top = 22                   # shaft's upper edge on the left
    left = 10                  # tail end, inset so the outline stays inside
    radius = 170               # radius of the shaft's centre line in the bend
    cx = 170                   # bend centre x (end of the straight part)
    cy = top + band / 2 + radius   # bend centre y
    x_down = cx + radius       # centre line of the falling part
    head_top = 318             # where the head begins
    head_half = 132            # half the head's width
    tip = 498                  # head's tip

    outer = radius + band / 2
    inner = radius - band / 2
    pts = [(left, top), (cx, top)]
    # outer edge of the bend, from straight up (-90 deg) to straight right (0)
    steps = 64
    for i in range(1, steps + 1):
        a = math.radians(-90 + 90 * i / steps)
        pts.append((cx + outer * math.cos(a), cy + outer * math.sin(a)))
    pts += [
        (x_down + band / 2, head_top),
        (x_down + head_half, head_top),
        (x_down, tip),
        (x_down - head_half, head_top),
        (x_down - band / 2, head_top),
        (x_down - band / 2, cy),
    ]
    # inner edge of the bend, back from right (0) to up (-90 deg)
    for i in range(1, steps + 1):
        a = math.radians(0 - 90 * i / steps)
        pts.append((cx + inner * math.cos(a), cy + inner * math.sin(a)))
    pts.append((left, top + band))
    xs = [p[0] for p in pts]
    mid = (min(xs) + max(xs)) / 2
    return [(x * s, y * s) for x, y in pts], mid * s


def make_arrow():
    size = ARROW_SIZE * ARROW_SS
    pts, mid = arrow_outline(ARROW_SS)

    mask = Image.new("L", (size, size), 0)
    ImageDraw.Draw(mask).polygon(pts, fill=255)

    # Two-tone fill split at the arrow's horizontal middle.
    fill = Image.new("RGBA", (size, size), ARROW_LIGHT)
    ImageDraw.Draw(fill).rectangle([int(round(mid)), 0, size, size],
                                   fill=ARROW_DARK)

    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    img.paste(fill, (0, 0), mask)

    # Outline centred on the contour; round joints soften the head's corners.
    d = ImageDraw.Draw(img)
    d.line(pts + [pts[0], pts[1]], fill=ARROW_EDGE, width=7 * ARROW_SS,
           joint="curve")

    img = img.resize((ARROW_SIZE, ARROW_SIZE), Image.LANCZOS)
    return clean_alpha(img)


def clean_alpha(img):
    """Zeroes the colour of fully transparent pixels (keeps files small and
    stops stray colour showing through filters that ignore alpha)."""
    px = img.load()
    w, h = img.size
    for y in range(h):
        for x in range(w):
            if px[x, y][3] == 0:
                px[x, y] = (0, 0, 0, 0)
    return img


# --------------------------------------------------------------------------
# Icon: a stepped sine (the sampled output of a phase accumulator) over its
# smooth original, on a rounded dark square.
# --------------------------------------------------------------------------

ICON_SIZES = (16, 32, 48, 64, 128, 256)


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def draw_icon(size):
    """One image of the icon at `size` px; small sizes get relatively bolder
    strokes and fewer details so the same picture stays legible."""
    ss = 16 if size <= 32 else (8 if size <= 64 else 4)
    n = size * ss
    u = n / 256.0                       # one unit of the 256-px design

    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))

    # Rounded square with a vertical gradient.
    inset = (6 if size >= 48 else 4 if size >= 32 else 0) * u
    radius = 44 * u
    box = [inset, inset, n - 1 - inset, n - 1 - inset]
    grad = Image.new("RGBA", (n, n))
    top_c, bot_c = (38, 70, 120, 255), (12, 26, 52, 255)
    gd = ImageDraw.Draw(grad)
    for y in range(n):
        gd.line([(0, y), (n, y)], fill=lerp(top_c, bot_c, y / (n - 1)))
    sq = Image.new("L", (n, n), 0)
    ImageDraw.Draw(sq).rounded_rectangle(box, radius=radius, fill=255)
    img.paste(grad, (0, 0), sq)

    d = ImageDraw.Draw(img)
    edge_w = max(1, int(round((5 if size <= 32 else 4) * u)))
    d.rounded_rectangle(box, radius=radius, outline=(120, 170, 230, 255),
                        width=edge_w)

    # Plot area.
    x0, x1 = inset + 30 * u, n - inset - 30 * u
    yc = n / 2
    amp = (n / 2 - inset) - 44 * u

    # Faint grid and zero line (only where there is room for them).
    if size >= 48:
        gw = max(1, int(round(2 * u)))
        for k in range(1, 4):
            x = x0 + (x1 - x0) * k / 4
            d.line([(x, yc - amp - 8 * u), (x, yc + amp + 8 * u)],
                   fill=(70, 110, 165, 255), width=gw)
        d.line([(x0 - 8 * u, yc), (x1 + 8 * u, yc)],
               fill=(90, 135, 195, 255), width=gw)

    steps = 12 if size >= 48 else 8

    def f(t):
        return yc - amp * math.sin(2 * math.pi * t)

    # Smooth original, thin and pale, where there is room for two lines.
    if size >= 32:
        sw = max(1, int(round((5 if size >= 64 else 8) * u)))
        smooth = [(x0 + (x1 - x0) * i / 200, f(i / 200)) for i in range(201)]
        d.line(smooth, fill=(110, 205, 255, 255), width=sw, joint="curve")

    # Staircase: each sample, taken at the start of its step, is held until
    # the next one, as the DAC of a phase accumulator does.
    tw = (24 if size <= 16 else 17 if size <= 32 else 13 if size <= 48
          else 11 if size <= 64 else 9) * u
    snap = size <= 48
    if snap:
        # Whole-pixel stroke on whole-pixel steps keeps the small images crisp.
        tw = max(1, round(tw / ss)) * ss
        half = ss / 2 if (tw // ss) % 2 else 0

        def grid(v):
            return round((v - half) / ss) * ss + half
    else:
        def grid(v):
            return v
    stair = []
    for k in range(steps):
        xa = grid(x0 + (x1 - x0) * k / steps)
        xb = grid(x0 + (x1 - x0) * (k + 1) / steps)
        y = grid(f(k / steps))
        stair += [(xa, y), (xb, y)]
    stair.append((grid(x1), grid(f(1.0))))
    stair_c = (255, 184, 40, 255)
    if snap:
        # Square-cornered segments; a thick polyline would notch the corners.
        hw = tw / 2
        for (xa, ya), (xb, yb) in zip(stair, stair[1:]):
            d.rectangle([min(xa, xb) - hw, min(ya, yb) - hw,
                         max(xa, xb) + hw - 1, max(ya, yb) + hw - 1],
                        fill=stair_c)
    else:
        d.line(stair, fill=stair_c, width=int(round(tw)), joint="curve")

    img = img.resize((size, size), Image.BOX)   # exact pixel coverage
    return clean_alpha(img)


def dib32(img):
    """32-bit BGRA DIB for an ICO entry: header, bottom-up XOR bitmap with
    alpha, then the 1-bpp AND mask (set where the pixel is mostly clear)."""
    w, h = img.size
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                         0, 0, 0, 0, 0)
    px = img.load()
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a))
    row_bytes = ((w + 31) // 32) * 4
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(w):
            if px[x, y][3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        andm += row
    data = header + bytes(xor) + bytes(andm)
    # biSizeImage: XOR + AND bytes (optional for BI_RGB but set for tools
    # that read it).
    data = data[:20] + struct.pack("<I", len(xor) + len(andm)) + data[24:]
    return data


def png_bytes(img):
    buf = io.BytesIO()
    img.save(buf, format="PNG", optimize=True)
    return buf.getvalue()


def write_ico(path, images):
    """ICONDIR + ICONDIRENTRYs + image data; 256 px as PNG, others as DIB."""
    blobs = []
    for img in images:
        blobs.append(png_bytes(img) if img.size[0] >= 256 else dib32(img))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for img, blob in zip(images, blobs):
        w, h = img.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, "wb") as fh:
        fh.write(out)


# --------------------------------------------------------------------------
# Thumb cursor: 32 x 32, 1 bpp. '#' black, 'o' white, '.' transparent.
# --------------------------------------------------------------------------

CURSOR_ARROW = [
    "#...........",
    "##..........",
    "#o#.........",
    "#oo#........",
    "#ooo#.......",
    "#oooo#......",
    "#ooooo#.....",
    "#oooooo#....",
    "#ooooooo#...",
    "#oooooooo#..",
    "#ooooooooo#.",
    "#oooooo#####",
    "#ooo#oo#....",
    "#oo##oo#....",
    "#o#..#oo#...",
    "##...#oo#...",
    "#.....#oo#..",
    "......#oo#..",
    ".......##...",
]


def cursor_pixels():
    grid = [["."] * 32 for _ in range(32)]
    for y, row in enumerate(CURSOR_ARROW):
        for x, c in enumerate(row):
            grid[y][x] = c

    # Two small triangles, tips outward (left and right), centred on row 21.
    cy, half = 21, 4
    tri = set()
    for dy in range(-half, half + 1):
        reach = half - abs(dy)
        for x in range(18 - reach, 19):       # left one: tip at x = 14
            tri.add((x, cy + dy))
        for x in range(22, 23 + reach):       # right one: tip at x = 26
            tri.add((x, cy + dy))
    for (x, y) in tri:
        inside = all((x + ex, y + ey) in tri
                     for ex, ey in ((1, 0), (-1, 0), (0, 1), (0, -1)))
        grid[y][x] = "o" if inside else "#"
    return grid


def write_cur(path, grid, hot=(0, 0)):
    """CUR file: one 32 x 32 monochrome image (palette black, white)."""
    w = h = 32
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 1, 0,
                         (w // 8) * h * 2, 0, 0, 2, 0)
    palette = struct.pack("<BBBB", 0, 0, 0, 0) + \
        struct.pack("<BBBB", 255, 255, 255, 0)
    xor = bytearray()
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        xrow = bytearray(4)
        arow = bytearray(4)
        for x in range(w):
            c = grid[y][x]
            bit = 0x80 >> (x % 8)
            if c == ".":
                arow[x // 8] |= bit         # transparent: AND 1, XOR 0
            elif c == "o":
                xrow[x // 8] |= bit         # white: AND 0, XOR 1
        xor += xrow
        andm += arow
    blob = header + palette + bytes(xor) + bytes(andm)
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", w, h, 2, 0, hot[0], hot[1], len(blob),
                       6 + 16)
    with open(path, "wb") as fh:
        fh.write(out + blob)


def main():
    make_arrow().save(os.path.join(HERE, "arrow.png"), optimize=True)
    write_ico(os.path.join(HERE, "phasebox.ico"),
              [draw_icon(s) for s in ICON_SIZES])
    write_cur(os.path.join(HERE, "thumb.cur"), cursor_pixels())


if __name__ == "__main__":
    main()
