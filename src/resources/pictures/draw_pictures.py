#!/usr/bin/env python3
"""Draws Corvane's splash pictures and program icon.

Run it after changing any artwork; it rewrites the .bmp and .ico files next
to this script. Only the standard library is used, and the output is the
same byte for byte on every run, so the resource files change in git only
when the drawing does. Each picture is one small function near the end.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# ---- colours ---------------------------------------------------------------

VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
         (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
         (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
         (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
(BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER,
 GREY, RED, LIME, YELLOW, BLUE, MAGENTA, CYAN, WHITE) = range(16)

# Colour ramps as (position, rgb) stops. The 256-colour palette is built from
# them and the icon samples the same ramps, so both pictures match.
RAMPS = {
    'sky':   [(0.0, (22, 112, 128)), (0.45, (12, 66, 100)), (1.0, (4, 16, 44))],
    'used':  [(0.0, (96, 30, 4)), (0.55, (232, 120, 28)), (1.0, (255, 214, 140))],
    'free':  [(0.0, (8, 64, 88)), (0.55, (48, 178, 196)), (1.0, (196, 250, 246))],
    'metal': [(0.0, (28, 36, 48)), (0.6, (150, 164, 178)), (1.0, (255, 255, 255))],
    'title': [(0.0, (255, 255, 255)), (1.0, (150, 226, 236))],
}
# Order and length of each ramp in the 256-colour palette, after the VGA 16.
LAYOUT = [('sky', 128), ('used', 32), ('free', 32), ('metal', 32), ('title', 16)]

# Share of the disk drawn as used; the rest is free space.
USED = 0.68


def ramp_rgb(name, t):
    stops = RAMPS[name]
    t = min(max(t, 0.0), 1.0)
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            f = (t - p0) / (p1 - p0)
            return tuple(int(a + (b - a) * f + 0.5) for a, b in zip(c0, c1))
    return stops[-1][1]


def palette256():
    """Returns (palette, shade) where shade(ramp, t) gives a palette index."""
    pal, where = list(VGA16), {}
    for name, n in LAYOUT:
        where[name] = (len(pal), n)
        pal += [ramp_rgb(name, i / (n - 1)) for i in range(n)]
    assert len(pal) == 256

    def shade(name, t):
        first, n = where[name]
        return first + int(min(max(t, 0.0), 1.0) * (n - 1) + 0.5)
    return pal, shade


def rgba_shade(name, t):
    return ramp_rgb(name, t) + (255,)


# ---- drawing ---------------------------------------------------------------

class Canvas:
    """A grid of colour values: palette indices, or RGBA tuples for icons.
    Wherever a colour is taken, a function c(x, y) may be given instead."""

    def __init__(self, w, h, fill):
        self.w, self.h = w, h
        self.px = [fill] * (w * h)

    def get(self, x, y):
        return self.px[y * self.w + x]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = c(x, y) if callable(c) else c

    def rect(self, x0, y0, x1, y1, c):
        """Fills [x0, x1) x [y0, y1)."""
        for y in range(max(y0, 0), min(y1, self.h)):
            for x in range(max(x0, 0), min(x1, self.w)):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.rect(x0, y0, x1, y0 + 1, c)
        self.rect(x0, y1 - 1, x1, y1, c)
        self.rect(x0, y0, x0 + 1, y1, c)
        self.rect(x1 - 1, y0, x1, y1, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x1 > x0 else -1), (1 if y1 > y0 else -1)
        err = dx + dy
        while True:
            self.put(x0, y0, c)
            if (x0, y0) == (x1, y1):
                return
            if 2 * err >= dy:
                err, x0 = err + dy, x0 + sx
            if 2 * err <= dx:
                err, y0 = err + dx, y0 + sy

    def ellipse(self, cx, cy, rx, ry, c):
        """Fills the pixels whose centres lie inside the ellipse."""
        for y in range(int(cy - ry), int(cy + ry) + 2):
            ny = (y + 0.5 - cy) / ry
            if abs(ny) > 1:
                continue
            half = rx * math.sqrt(1 - ny * ny)
            for x in range(int(cx - half) - 1, int(cx + half) + 2):
                if abs(x + 0.5 - cx) <= half:
                    self.put(x, y, c)


def vertical(shade, ramp, y0, y1):
    """A colour function running along a ramp from row y0 to row y1."""
    return lambda x, y: shade(ramp, (y - y0) / max(y1 - y0 - 1, 1))


# ---- pixel font --------------------------------------------------------------

# Rows top to bottom; capitals are 7 rows, descenders hang below row 7.
FONT = {
    'C': '.###. #...# #.... #.... #.... #...# .###.',
    'D': '####. #...# #...# #...# #...# #...# ####.',
    'H': '#...# #...# #...# ##### #...# #...# #...#',
    'M': '#...# ##.## #.#.# #.#.# #...# #...# #...#',
    'S': '.#### #.... #.... .###. ....# ....# ####.',
    'V': '#...# #...# #...# #...# #...# .#.#. ..#..',
    'a': '..... ..... .###. ....# .#### #...# .####',
    'c': '..... ..... .###. #.... #.... #...# .###.',
    'e': '..... ..... .###. #...# ##### #.... .###.',
    'f': '..## .#.. #### .#.. .#.. .#.. .#..',
    'g': '..... ..... .#### #...# #...# .#### ....# .###.',
    'i': '.#. ... ##. .#. .#. .#. ###',
    'k': '#... #... #..# #.#. ##.. #.#. #..#',
    'l': '##. .#. .#. .#. .#. .#. ###',
    'n': '..... ..... #.##. ##..# #...# #...# #...#',
    'o': '..... ..... .###. #...# #...# #...# .###.',
    'p': '..... ..... ####. #...# #...# ####. #.... #....',
    'r': '..... ..... #.##. ##..# #.... #.... #....',
    's': '..... ..... .#### #.... .###. ....# ####.',
    't': '.#.. .#.. #### .#.. .#.. .#.. ..##',
    'v': '..... ..... #...# #...# #...# .#.#. ..#..',
    'w': '..... ..... #...# #...# #.#.# #.#.# .#.#.',
    '0': '.###. #...# #..## #.#.# ##..# #...# .###.',
    '2': '.###. #...# ....# ...#. ..#.. .#... #####',
    '.': '. . . . . . #',
    ' ': '... ... ... ... ... ... ...',
}
FONT = {ch: rows.split() for ch, rows in FONT.items()}


def text_width(s, scale=1):
    return (sum(len(FONT[ch][0]) for ch in s) + len(s) - 1) * scale


def draw_text(cv, x, y, s, c, scale=1):
    for ch in s:
        rows = FONT[ch]
        for r, row in enumerate(rows):
            for k, bit in enumerate(row):
                if bit == '#':
                    cv.rect(x + k * scale, y + r * scale,
                            x + (k + 1) * scale, y + (r + 1) * scale, c)
        x += (len(rows[0]) + 1) * scale


def centre_text(cv, y, s, c, scale=1, shadow=None, offset=1):
    x = (cv.w - text_width(s, scale)) // 2
    if shadow is not None:
        draw_text(cv, x + offset, y + offset, s, shadow, scale)
    draw_text(cv, x, y, s, c, scale)


# ---- the disk: a platter seen at an angle, its top face a pie chart ----------

def disk_outline(cv, cx, cy, rx, ry, depth, c):
    """Fills the whole silhouette of the disk, top face and side wall."""
    for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
        nx = (x + 0.5 - cx) / rx
        if abs(nx) <= 1:
            h = ry * math.sqrt(1 - nx * nx)
            for y in range(int(cy - h), int(cy + depth + h) + 2):
                if cy - h <= y + 0.5 <= cy + depth + h:
                    cv.put(x, y, c)


def pie_disk(cv, cx, cy, rx, ry, depth, shade, unit=1.0, hub=True):
    """Draws the disk lit from the top left. unit is one output pixel, so
    the thin details keep their width when drawn oversized for the icon."""
    start = -90.0   # the used slice starts at twelve o'clock, going clockwise
    edges = [start, start + 360 * USED]

    def ramp_at(deg):
        return 'used' if (deg - start) % 360 < 360 * USED else 'free'

    def wall(x, y):
        nx = (x + 0.5 - cx) / rx
        h = math.sqrt(max(1 - nx * nx, 0))
        down = (y + 0.5 - cy - ry * h) / depth   # 0 at the top edge, 1 at the bottom
        return shade(ramp_at(math.degrees(math.atan2(h, nx))),
                     0.36 - 0.16 * nx - 0.12 * down)

    def top(x, y):
        px, py = x + 0.5 - cx, y + 0.5 - cy
        nx, ny = px / rx, py / ry
        r = math.hypot(nx, ny)
        for e in edges:   # a bright seam where the two slices meet
            dx, dy = rx * math.cos(math.radians(e)), ry * math.sin(math.radians(e))
            length = math.hypot(dx, dy)
            if px * dx + py * dy > 0 and abs(px * dy - py * dx) / length < 0.75 * unit:
                return shade('metal', 0.92)
        t = 0.74 - 0.2 * nx - 0.28 * ny
        t += 0.12 * max(0.0, 1 - abs(0.6 * nx + 0.8 * ny + 0.2) / 0.22)   # sheen
        if r > 1 - 1.3 * unit / ry:
            t += 0.18   # polished rim
        return shade(ramp_at(math.degrees(math.atan2(ny, nx))), t)

    disk_outline(cv, cx, cy, rx, ry, depth, wall)
    cv.ellipse(cx, cy, rx, ry, top)
    if hub:
        hr = 0.17
        cv.ellipse(cx, cy + 1.5 * unit, rx * hr, ry * hr, shade('metal', 0.25))
        cv.ellipse(cx, cy, rx * hr, ry * hr,
                   lambda x, y: shade('metal', 0.95 - 0.5 * (y + 0.5 - cy + ry * hr) / (2 * ry * hr)))
        cv.ellipse(cx, cy, rx * 0.05, ry * 0.05, shade('metal', 0.1))


# ---- file writers --------------------------------------------------------------

def write_bmp(name, cv, palette, bpp):
    """Uncompressed bottom-up BMP with a full colour table (4 or 8 bpp)."""
    colours = palette + [(0, 0, 0)] * ((1 << bpp) - len(palette))
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in colours)
    stride = (cv.w * bpp + 31) // 32 * 4
    rows = []
    for y in reversed(range(cv.h)):
        row = cv.px[y * cv.w:(y + 1) * cv.w]
        if bpp == 4:
            row = row + [0] * (len(row) % 2)
            row = [(row[i] << 4) | row[i + 1] for i in range(0, len(row), 2)]
        rows.append(bytes(row).ljust(stride, b'\0'))
    pixels = b''.join(rows)
    offset = 14 + 40 + len(table)
    head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, cv.w, cv.h, 1, bpp, 0,
                       len(pixels), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(head + info + table + pixels)


def downsample(cv, f):
    """Averages f x f blocks of an RGBA canvas, weighting colour by alpha."""
    out = Canvas(cv.w // f, cv.h // f, (0, 0, 0, 0))
    n = f * f
    for y in range(out.h):
        for x in range(out.w):
            sums = [0, 0, 0, 0]
            for sy in range(f):
                for sx in range(f):
                    r, g, b, a = cv.get(x * f + sx, y * f + sy)
                    sums = [sums[0] + r * a, sums[1] + g * a, sums[2] + b * a, sums[3] + a]
            a = sums[3]
            if a:
                out.put(x, y, tuple((s + a // 2) // a for s in sums[:3]) + ((a + n // 2) // n,))
    return out


def write_ico(name, canvases):
    """Icon file of 32-bit images, each a DIB followed by its AND mask."""
    blobs = []
    for cv in canvases:
        xor, mask = b'', b''
        mask_stride = (cv.w + 31) // 32 * 4
        for y in reversed(range(cv.h)):
            row = cv.px[y * cv.w:(y + 1) * cv.w]
            xor += b''.join(bytes((b, g, r, a)) for r, g, b, a in row)
            bits = 0
            for r, g, b, a in row:
                bits = (bits << 1) | (a == 0)
            mask += bits.to_bytes((cv.w + 7) // 8, 'big').ljust(mask_stride, b'\0')
        info = struct.pack('<IiiHHIIiiII', 40, cv.w, 2 * cv.h, 1, 32, 0,
                           len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append(info + xor + mask)
    offset = 6 + 16 * len(blobs)
    out = struct.pack('<HHH', 0, 1, len(blobs))
    for cv, blob in zip(canvases, blobs):
        out += struct.pack('<BBBBHHII', cv.w % 256, cv.h % 256, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(out + b''.join(blobs))


# ---- the pictures --------------------------------------------------------------

def splash256():
    pal, shade = palette256()
    cv = Canvas(206, 230, 0)
    # Sky gradient, lifted by a soft glow behind the disk.
    gx, gy = 103, 84
    cv.rect(0, 0, cv.w, cv.h, lambda x, y: shade(
        'sky', y / (cv.h - 1) - 0.3 * max(0.0, 1 - math.hypot(x - gx, (y - gy) * 1.3) / 110)))

    def darker(amount):   # further down the sky ramp, never past its end
        return lambda x, y: min(cv.get(x, y) + amount, 16 + 127)

    def shadow(x, y):   # deepest in the middle, fading out at the edge
        r = math.hypot((x + 0.5 - 108) / 86, (y + 0.5 - 127) / 24)
        return darker(int(26 * min(1.0, 2.5 * (1 - r))))(x, y)

    centre_text(cv, 12, 'Halvett Software', shade('metal', 0.82))
    cv.ellipse(108, 127, 86, 24, shadow)
    pie_disk(cv, 103, 82, 76, 38, 16, shade)
    centre_text(cv, 152, 'Corvane', vertical(shade, 'title', 152, 180), 4,
                shadow=darker(40), offset=3)
    cv.rect(40, 190, 166, 191, shade('free', 0.6))
    centre_text(cv, 198, 'Disk Space Manager', shade('metal', 0.9))
    centre_text(cv, 214, 'Version 2.0.2', shade('metal', 0.62))
    write_bmp('splash256.bmp', cv, pal, 8)


def splash16():
    cv = Canvas(180, 230, WHITE)
    cv.frame(0, 0, cv.w, cv.h, GREY)
    cv.frame(3, 3, cv.w - 3, cv.h - 3, SILVER)
    centre_text(cv, 40, 'Corvane', NAVY, 3, shadow=SILVER, offset=2)
    cv.rect(28, 72, 152, 74, TEAL)
    centre_text(cv, 84, 'Disk Space Manager', BLACK)
    centre_text(cv, 98, 'Version 2.0.2', GREY)
    # A small usage bar, used segments in teal, echoing the pie chart.
    segs = 12
    for i in range(segs):
        x = 33 + i * 10
        cv.rect(x, 138, x + 8, 150, TEAL if i < round(segs * USED) else SILVER)
    cv.frame(31, 136, 33 + segs * 10, 152, GREY)
    cv.rect(28, 186, 152, 187, SILVER)
    centre_text(cv, 196, 'Halvett Software', NAVY)
    write_bmp('splash16.bmp', cv, VGA16, 4)


def icon(size):
    ss = 4   # drawn oversized, then averaged down for smooth edges
    s = size * ss / 128   # the layout below is for a 128-pixel canvas
    cv = Canvas(size * ss, size * ss, (0, 0, 0, 0))
    cx, cy, rx, ry, depth = 64 * s, 56 * s, 58 * s, 34 * s, 22 * s
    disk_outline(cv, cx, cy, rx + ss, ry + ss, depth, rgba_shade('sky', 1.0))
    pie_disk(cv, cx, cy, rx, ry, depth, rgba_shade, unit=ss, hub=size >= 32)
    return downsample(cv, ss)


def main():
    splash256()
    splash16()
    write_ico('corvane.ico', [icon(32), icon(16)])


if __name__ == '__main__':
    main()
