#!/usr/bin/env python3
"""Draws Corvane's pictures: the splash and Welcome banners, the strips down
the left of each tab, the frames of the busy animation and the program icon.

Run it after changing any artwork; it rewrites the .bmp and .ico files next
to this script, each bitmap also at 150% and 200% for larger screen scales. Only the standard library is used, and the output is the
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
            e2 = 2 * err
            if e2 >= dy:
                err, x0 = err + dy, x0 + sx
            if e2 <= dx:
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
    'E': '##### #.... #.... ####. #.... #.... #####',
    'F': '##### #.... #.... ####. #.... #.... #....',
    'H': '#...# #...# #...# ##### #...# #...# #...#',
    'I': '### .#. .#. .#. .#. .#. ###',
    'L': '#.... #.... #.... #.... #.... #.... #####',
    'M': '#...# ##.## #.#.# #.#.# #...# #...# #...#',
    'R': '####. #...# #...# ####. #.#.. #..#. #...#',
    'S': '.#### #.... #.... .###. ....# ....# ####.',
    'T': '##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..',
    'U': '#...# #...# #...# #...# #...# #...# .###.',
    'V': '#...# #...# #...# #...# #...# .#.#. ..#..',
    'W': '#...# #...# #...# #.#.# #.#.# ##.## #...#',
    'a': '..... ..... .###. ....# .#### #...# .####',
    'c': '..... ..... .###. #.... #.... #...# .###.',
    'd': '....# ....# .#### #...# #...# #...# .####',
    'e': '..... ..... .###. #...# ##### #.... .###.',
    'f': '..## .#.. #### .#.. .#.. .#.. .#..',
    'g': '..... ..... .#### #...# #...# .#### ....# .###.',
    'h': '#.... #.... #.##. ##..# #...# #...# #...#',
    'i': '.#. ... ##. .#. .#. .#. ###',
    'k': '#... #... #..# #.#. ##.. #.#. #..#',
    'l': '##. .#. .#. .#. .#. .#. ###',
    'm': '..... ..... ##.#. #.#.# #.#.# #.#.# #.#.#',
    'n': '..... ..... #.##. ##..# #...# #...# #...#',
    'o': '..... ..... .###. #...# #...# #...# .###.',
    'p': '..... ..... ####. #...# #...# ####. #.... #....',
    'r': '..... ..... #.##. ##..# #.... #.... #....',
    's': '..... ..... .#### #.... .###. ....# ####.',
    't': '.#.. .#.. #### .#.. .#.. .#.. ..##',
    'u': '..... ..... #...# #...# #...# #..## .##.#',
    'v': '..... ..... #...# #...# #...# .#.#. ..#..',
    'w': '..... ..... #...# #...# #.#.# #.#.# .#.#.',
    'y': '..... ..... #...# #...# #...# .#### ....# .###.',
    '0': '.###. #...# #..## #.#.# ##..# #...# .###.',
    '1': '..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.',
    '2': '.###. #...# ....# ...#. ..#.. .#... #####',
    '3': '####. ....# ....# .###. ....# ....# ####.',
    '4': '...#. ..##. .#.#. #..#. ##### ...#. ...#.',
    '5': '##### #.... ####. ....# ....# #...# .###.',
    '6': '..##. .#... #.... ####. #...# #...# .###.',
    '7': '##### ....# ...#. ..#.. .#... .#... .#...',
    '8': '.###. #...# #...# .###. #...# #...# .###.',
    '9': '.###. #...# #...# .#### ....# ...#. .##..',
    '%': '##..# ##..# ...#. ..#.. .#... #..## #..##',
    '.': '. . . . . . #',
    ':': '. . # . . # .',
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


def pie_disk(cv, cx, cy, rx, ry, depth, shade, unit=1.0, hub=True, turn=0.0):
    """Draws the disk lit from the top left. unit is one output pixel, so
    the thin details keep their width when drawn oversized for the icon.
    turn spins the slices clockwise by that many degrees."""
    start = -90.0 + turn   # the used slice starts at twelve o'clock, going clockwise
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


# ---- shapes for the 16-colour pictures -----------------------------------------

# A 4 x 4 ordered dither: with only 16 colours, blends and gradients are
# made by mixing two colours in a fixed pattern, which also stays put from
# one animation frame to the next.
BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def dither(c0, c1, t):
    """A colour function mixing c1 into c0 in proportion t (0 to 1)."""
    return lambda x, y: c1 if t(x, y) * 16 > BAYER[y % 4][x % 4] + 0.5 else c0


def vga_shade(name, t):
    """The 16-colour stand-in for the 256-colour ramps, for pie_disk."""
    steps = {'used': [(0.42, NAVY), (2.0, BLUE)],
             'free': [(0.55, TEAL), (1.12, CYAN), (2.0, WHITE)],
             'metal': [(0.2, BLACK), (0.5, GREY), (0.85, SILVER), (2.0, WHITE)]}
    return next(c for limit, c in steps[name] if t < limit)


def seg_dist(px, py, ax, ay, bx, by):
    """Distance from point p to the segment a-b."""
    dx, dy = bx - ax, by - ay
    f = min(max(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy or 1), 0.0), 1.0)
    return math.hypot(px - ax - f * dx, py - ay - f * dy)


def shape(cv, box, inside, c, edge=None, bevel=None):
    """Fills the pixels of box (x0, y0, x1, y1) whose centres satisfy
    inside(x, y), then rings them with a one-pixel edge if one is given.
    bevel is a (light, dark) pair for the inner rim facing the top left
    and bottom right, so a flat shape looks raised."""
    x0, y0, x1, y1 = box
    hit = {(x, y) for y in range(y0, y1) for x in range(x0, x1)
           if inside(x + 0.5, y + 0.5)}
    if edge is not None:
        for x, y in hit:
            for n in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                if n not in hit:
                    cv.put(n[0], n[1], edge)
    for x, y in hit:
        if bevel and ((x - 1, y) not in hit or (x, y - 1) not in hit):
            cv.put(x, y, bevel[0])
        elif bevel and ((x + 1, y) not in hit or (x, y + 1) not in hit):
            cv.put(x, y, bevel[1])
        else:
            cv.put(x, y, c)


def outline(cv, box, inside, c):
    """Draws just the one-pixel rim of a shape, inside its boundary."""
    x0, y0, x1, y1 = box
    for y in range(y0, y1):
        for x in range(x0, x1):
            if inside(x + 0.5, y + 0.5) and not all(
                    inside(x + 0.5 + dx, y + 0.5 + dy)
                    for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1))):
                cv.put(x, y, c)


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) < r


def thick_line(cv, points, w, c, edge=None):
    """A polyline w pixels wide with round joints."""
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    box = (int(min(xs) - w) - 1, int(min(ys) - w) - 1, int(max(xs) + w) + 2, int(max(ys) + w) + 2)
    segs = list(zip(points, points[1:]))
    shape(cv, box, lambda x, y: any(seg_dist(x, y, *a, *b) < w / 2 for a, b in segs), c, edge)


def raised(cv, x0, y0, x1, y1, face=SILVER):
    """A panel standing out from the page, lit from the top left."""
    cv.rect(x0, y0, x1, y1, face)
    cv.rect(x0, y0, x1 - 1, y0 + 1, WHITE)
    cv.rect(x0, y0, x0 + 1, y1 - 1, WHITE)
    cv.rect(x0, y1 - 1, x1, y1, BLACK)
    cv.rect(x1 - 1, y0, x1, y1, BLACK)
    cv.rect(x0 + 1, y1 - 2, x1 - 1, y1 - 1, GREY)
    cv.rect(x1 - 2, y0 + 1, x1 - 1, y1 - 1, GREY)


# ---- file writers --------------------------------------------------------------

# The larger screen scales each picture is also written at, as name_150.bmp
# and name_200.bmp beside the 100% one.
SCALES = (150, 200)


def enlarged(cv, scale):
    """The canvas at scale percent, each pixel taken from the one it covers."""
    out = Canvas(cv.w * scale // 100, cv.h * scale // 100, 0)
    out.px = [cv.get(x * 100 // scale, y * 100 // scale) for y in range(out.h) for x in range(out.w)]
    return out


def write_bmp(name, cv, palette, bpp):
    """The picture at 100% and at each of SCALES."""
    write_one_bmp(name, cv, palette, bpp)
    for scale in SCALES:
        write_one_bmp(name.replace('.bmp', '_%d.bmp' % scale), enlarged(cv, scale), palette, bpp)


def write_one_bmp(name, cv, palette, bpp):
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


def welcome256():
    pal, shade = palette256()
    cv = Canvas(145, 279, 0)
    gx, gy = 72, 70
    cv.rect(0, 0, cv.w, cv.h, lambda x, y: shade(
        'sky', y / (cv.h - 1) - 0.3 * max(0.0, 1 - math.hypot(x - gx, (y - gy) * 1.2) / 90)))

    def darker(amount):
        return lambda x, y: min(cv.get(x, y) + amount, 16 + 127)

    def shadow(x, y):
        r = math.hypot((x + 0.5 - 76) / 64, (y + 0.5 - 102) / 16)
        return darker(int(26 * min(1.0, 2.5 * (1 - r))))(x, y)

    centre_text(cv, 12, 'Halvett Software', shade('metal', 0.82))
    cv.ellipse(76, 102, 64, 16, shadow)
    pie_disk(cv, 72, 66, 58, 29, 13, shade)
    centre_text(cv, 124, 'Corvane', vertical(shade, 'title', 124, 145), 3,
                shadow=darker(40), offset=2)
    cv.rect(24, 156, 121, 157, shade('free', 0.6))
    centre_text(cv, 164, 'Disk Space Manager', shade('metal', 0.9))
    # Three drives filling up, in the pie's colours.
    for i, (label, used) in enumerate((('C:', 0.68), ('D:', 0.41), ('E:', 0.86))):
        y = 196 + i * 20
        draw_text(cv, 18, y, label, shade('metal', 0.85))
        x0, x1 = 36, 126
        split = x0 + 1 + round((x1 - x0 - 2) * used)
        cv.rect(x0 + 1, y + 1, x1 + 1, y + 9, darker(30))
        cv.rect(x0, y, x1, y + 8, shade('metal', 0.35))
        cv.rect(x0 + 1, y + 1, split, y + 7,
                lambda x, yy: shade('used', 0.95 - 0.7 * (yy - y - 1) / 5))
        cv.rect(split, y + 1, x1 - 1, y + 7,
                lambda x, yy: shade('free', 0.95 - 0.7 * (yy - y - 1) / 5))
    centre_text(cv, 262, 'Welcome', shade('metal', 0.62))
    write_bmp('welcome256.bmp', cv, pal, 8)


# ---- the page pictures: one motif per tab, drawn in a 56 x 56 box ----------------

def motif_diskinfo(cv, ox, oy):
    disk_outline(cv, ox + 28, oy + 24, 27, 15, 9, BLACK)
    pie_disk(cv, ox + 28, oy + 24, 26, 14, 9, vga_shade)


def motif_history(cv, ox, oy):
    x0, y0, x1, y1 = ox + 4, oy + 5, ox + 53, oy + 50
    cv.rect(x0, y0, x1, y1, WHITE)
    for gy in range(y0 + 8, y1, 9):
        for gx in range(x0 + 1, x1, 2):
            cv.put(gx, gy, SILVER)
    values = [0.18, 0.3, 0.26, 0.44, 0.52, 0.5, 0.7, 0.84]
    pts = [(x0 + 3 + i * (x1 - x0 - 6) / (len(values) - 1), y1 - 3 - v * (y1 - y0 - 8))
           for i, v in enumerate(values)]

    def under(x, y):   # below the line: the space used over time
        for (ax, ay), (bx, by) in zip(pts, pts[1:]):
            if ax <= x < bx:
                return y > ay + (by - ay) * (x - ax) / (bx - ax)
        return False
    shape(cv, (x0, y0, x1, y1 - 1), under, dither(WHITE, CYAN, lambda x, y: 0.5))
    thick_line(cv, pts, 2.2, NAVY)
    for px, py in pts:
        cv.rect(int(px) - 1, int(py) - 1, int(px) + 2, int(py) + 2, RED)
    cv.rect(x0, y0, x0 + 1, y1, BLACK)
    cv.rect(x0, y1 - 1, x1, y1, BLACK)


def motif_reports(cv, ox, oy):
    for i, (x, y) in enumerate(((ox + 20, oy + 2), (ox + 14, oy + 6), (ox + 8, oy + 10))):
        w, h = 30, 42
        cv.rect(x + 2, y + 2, x + w + 2, y + h + 2, GREY)
        cv.rect(x, y, x + w, y + h, WHITE)
        cv.frame(x, y, x + w, y + h, BLACK)
    x, y = ox + 8, oy + 10
    # The front sheet carries a small bar chart under a title line.
    cv.rect(x + 4, y + 4, x + 20, y + 6, NAVY)
    for k, (hgt, c) in enumerate(((10, TEAL), (16, BLUE), (7, RED), (20, TEAL))):
        bx = x + 5 + k * 6
        cv.rect(bx, y + 32 - hgt, bx + 4, y + 32, c)
    cv.rect(x + 3, y + 32, x + 27, y + 33, BLACK)
    for k, ln in enumerate((20, 14)):
        cv.rect(x + 4, y + 35 + k * 3, x + 4 + ln, y + 36 + k * 3, GREY)


def motif_startmenu(cv, ox, oy):
    x0, y0, x1, y1 = ox + 2, oy + 1, ox + 42, oy + 50
    cv.rect(x0 + 2, y0 + 2, x1 + 2, y1 + 2, GREY)
    cv.rect(x0, y0, x1, y1, WHITE)
    cv.rect(x0, y0, x0 + 8, y1, dither(NAVY, BLUE, lambda x, y: (y1 - y) / (y1 - y0)))
    cv.frame(x0, y0, x1, y1, BLACK)
    for k in range(6):
        y = y0 + 3 + k * 8
        if k == 1:
            cv.rect(x0 + 9, y - 1, x1 - 1, y + 7, NAVY)
        text = WHITE if k == 1 else GREY
        cv.rect(x0 + 11, y, x0 + 17, y + 6, YELLOW)
        cv.frame(x0 + 11, y, x0 + 17, y + 6, OLIVE)
        cv.rect(x0 + 20, y + 2, x0 + 20 + (18, 12, 16, 10, 14, 17)[k], y + 4, text)
    # The last entry points nowhere: its link is broken.
    y = y0 + 3 + 5 * 8
    cv.rect(x0 + 11, y, x0 + 17, y + 6, WHITE)
    cv.line(x0 + 11, y, x0 + 16, y + 5, RED)
    cv.line(x0 + 16, y, x0 + 11, y + 5, RED)

    # Two chain links pulled apart, with a red snap between them.
    def link(cx, cy):
        a, b = (cx - 3, cy - 3), (cx + 3, cy + 3)
        return lambda x, y: abs(seg_dist(x, y, *a, *b) - 3.5) < 1.6
    for cx, cy in ((ox + 31, oy + 29), (ox + 50, oy + 48)):
        shape(cv, (cx - 14, cy - 14, cx + 14, cy + 14), link(cx, cy), SILVER, BLACK, (WHITE, GREY))
    for ax, ay, bx, by in ((42, 36, 45, 33), (44, 38, 47, 37), (38, 40, 35, 43),
                           (36, 38, 33, 39)):
        cv.line(ox + ax, oy + ay, ox + bx, oy + by, RED)


def motif_internet(cv, ox, oy):
    cx, cy, r = ox + 28, oy + 27, 24.5
    lands = [(-1.0, 0.55, 0.5, 0.38), (-0.7, -0.3, 0.28, 0.5),
             (0.35, 0.62, 0.38, 0.22), (0.45, -0.05, 0.3, 0.5), (1.3, 0.45, 0.5, 0.3)]

    def colour(x, y):
        nx, ny = (x + 0.5 - cx) / r, (y + 0.5 - cy) / r
        nz = math.sqrt(max(0.0, 1 - nx * nx - ny * ny))
        lon, lat = math.atan2(nx, nz), math.asin(max(-1.0, min(1.0, -ny)))
        light = -0.45 * nx - 0.5 * ny + 0.74 * nz
        # Grid lines about one pixel wide wherever they fall on the sphere.
        on_grid = (abs((math.degrees(lon) + 15) % 30 - 15) < 0.55 / max(nz, 0.15) * 57.3 / r or
                   abs((math.degrees(lat) + 15) % 30 - 15) < 0.5 * 57.3 / r / max(math.cos(lat), 0.15))
        land = any(((lon - a) / ra) ** 2 + ((lat - b) / rb) ** 2 < 1 for a, b, ra, rb in lands)
        if land:
            return LIME if light > 0.75 else GREEN
        if on_grid:
            return CYAN if light > 0.3 else TEAL
        return BLUE if light > 0.25 else NAVY
    shape(cv, (ox, oy, ox + 56, oy + 56), circle(cx, cy, r), colour, BLACK)


def motif_dlls(cv, ox, oy):
    def gear(cx, cy, r_out, r_in, teeth, hole, phase=0.0):
        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            a = (math.atan2(y - cy, x - cx) / (2 * math.pi) * teeth + phase) % 1
            edge = r_out if 0.25 < a < 0.75 else r_in
            return hole < d < edge
        return inside

    shape(cv, (ox, oy, ox + 56, oy + 56), gear(ox + 22, oy + 22, 21, 16, 9, 6),
          GREY, BLACK, (WHITE, BLACK))
    shape(cv, (ox, oy, ox + 56, oy + 56), gear(ox + 42, oy + 42, 13.5, 9.5, 7, 3.5, 0.5),
          TEAL, BLACK, (CYAN, NAVY))


def motif_search(cv, ox, oy):
    cx, cy = ox + 22, oy + 22
    thick_line(cv, [(cx + 14, cy + 14), (ox + 50, oy + 50)], 8, MAROON, BLACK)
    thick_line(cv, [(ox + 40, oy + 40), (ox + 49, oy + 49)], 2, RED)
    shape(cv, (ox, oy, ox + 56, oy + 56), circle(cx, cy, 19),
          lambda x, y: SILVER if (x - cx) + (y - cy) < 0 else GREY, BLACK)
    shape(cv, (ox, oy, ox + 56, oy + 56), circle(cx, cy, 14.5),
          dither(CYAN, WHITE, lambda x, y: max(0.0, 0.9 - math.hypot(x - cx + 5, y - cy + 5) / 12)),
          BLACK)
    shape(cv, (ox, oy, ox + 56, oy + 56),
          lambda x, y: abs(math.hypot(x - cx, y - cy) - 10) < 1 and x < cx - 2 and y < cy - 2,
          WHITE)


def motif_speed(cv, ox, oy):
    cx, cy, r = ox + 28, oy + 29, 25.5
    shape(cv, (ox, oy, ox + 56, oy + 56), circle(cx, cy, r), GREY, BLACK)
    shape(cv, (ox, oy, ox + 56, oy + 56), circle(cx, cy, r - 3), WHITE, BLACK)
    start, sweep = 225, 270   # the scale runs clockwise from bottom left

    def at(f, rad):
        a = math.radians(start - sweep * f)
        return cx + rad * math.cos(a), cy - rad * math.sin(a)

    def band(x, y):
        a = math.degrees(math.atan2(cy - y, x - cx))
        f = ((start - a) % 360) / sweep
        if f > 1 or not 15 < math.hypot(x - cx, y - cy) < 19.5:
            return None
        return LIME if f < 0.55 else YELLOW if f < 0.8 else RED
    for y in range(oy, oy + 56):
        for x in range(ox, ox + 56):
            c = band(x + 0.5, y + 0.5)
            if c is not None:
                cv.put(x, y, c)
    for k in range(11):
        (ax, ay), (bx, by) = at(k / 10, 13), at(k / 10, 20)
        cv.line(round(ax - 0.5), round(ay - 0.5), round(bx - 0.5), round(by - 0.5), BLACK)
    tip = at(0.72, 19)
    thick_line(cv, [(cx, cy), tip], 2.6, RED)
    shape(cv, (ox, oy, ox + 56, oy + 56), circle(cx, cy, 4), GREY, BLACK)
    cv.rect(cx - 1, cy - 1, cx + 1, cy + 1, SILVER)


def motif_tools(cv, ox, oy):
    hx, hy, tx, ty = ox + 38, oy + 17, ox + 11, oy + 45
    ux, uy = (hx - tx) / math.hypot(hx - tx, hy - ty), (hy - ty) / math.hypot(hx - tx, hy - ty)

    def along(x, y):   # (distance past the head centre, distance across)
        return (x - hx) * ux + (y - hy) * uy, -(x - hx) * uy + (y - hy) * ux

    def inside(x, y):
        u, v = along(x, y)
        if math.hypot(x - hx, y - hy) < 13:
            return not (u > -3 and abs(v) < 4.5)   # the open jaw
        if math.hypot(x - tx, y - ty) < 7.5:
            return math.hypot(x - tx, y - ty) > 3   # ring end
        return seg_dist(x, y, hx, hy, tx, ty) < 4.5

    def metal(x, y):
        v = along(x, y)[1]
        return WHITE if v < -2.5 else SILVER if v < 1.5 else GREY
    # A screwdriver lies under the wrench, across it.
    thick_line(cv, [(ox + 9, oy + 9), (ox + 27, oy + 27)], 3, GREY, BLACK)
    thick_line(cv, [(ox + 6, oy + 6), (ox + 9, oy + 9)], 2, GREY, BLACK)
    thick_line(cv, [(ox + 29, oy + 29), (ox + 46, oy + 46)], 9, RED, BLACK)
    thick_line(cv, [(ox + 32, oy + 29), (ox + 46, oy + 43)], 2, WHITE)
    thick_line(cv, [(ox + 30, oy + 35), (ox + 41, oy + 46)], 2, MAROON)
    shape(cv, (ox, oy, ox + 56, oy + 56), inside, metal, BLACK)


def motif_tips(cv, ox, oy):
    cx, cy, r = ox + 28, oy + 22, 15.5
    for k in range(7):
        a = math.radians(180 - k * 30)
        p, q = (cx + 19.5 * math.cos(a), cy - 19.5 * math.sin(a)), (cx + 25 * math.cos(a), cy - 25 * math.sin(a))
        thick_line(cv, [p, q], 2, YELLOW, OLIVE)

    def glass(x, y):
        if math.hypot(x - cx, y - cy) < r:
            return True
        return cy + 8 <= y < cy + 20 and abs(x - cx) < 7 + (cy + 20 - y) * 0.55
    shape(cv, (ox, oy, ox + 56, oy + 56), glass,
          lambda x, y: WHITE if math.hypot(x - cx + 6, y - cy + 6) < 4 else YELLOW, BLACK)
    thick_line(cv, [(cx - 4, cy + 16), (cx - 4, cy + 6), (cx - 2, cy + 3), (cx, cy + 6),
                    (cx + 2, cy + 3), (cx + 4, cy + 6), (cx + 4, cy + 16)], 1, OLIVE)
    for k in range(4):
        y = cy + 20 + k * 3
        cv.rect(cx - 8, y, cx + 8, y + 3, BLACK)
        cv.rect(cx - 7, y + 1, cx + 7, y + 2, SILVER if k % 2 == 0 else GREY)
    cv.rect(cx - 4, cy + 32, cx + 4, cy + 34, BLACK)


PAGES = [('page_diskinfo.bmp', 'Disk', motif_diskinfo),
         ('page_history.bmp', 'History', motif_history),
         ('page_reports.bmp', 'Reports', motif_reports),
         ('page_startmenu.bmp', 'Menu', motif_startmenu),
         ('page_internet.bmp', 'Internet', motif_internet),
         ('page_dlls.bmp', 'DLLs', motif_dlls),
         ('page_search.bmp', 'Search', motif_search),
         ('page_speed.bmp', 'Speed', motif_speed),
         ('page_tools.bmp', 'Tools', motif_tools),
         ('page_tips.bmp', 'Tips', motif_tips)]


def page(name, caption, motif):
    """The tall strip down the left of a tab: the same framed teal-to-navy
    background on every tab, a raised tile holding the tab's own motif,
    and the tab's name under it."""
    cv = Canvas(100, 279, NAVY)
    cv.rect(0, 0, cv.w, cv.h, dither(TEAL, NAVY, lambda x, y: (y - 40) / 150))
    # The pie disk low down, in outline only, as a faint watermark.
    cx, cy, rx, ry, depth = 50, 212, 38, 15, 9

    box = (0, cy - ry - 2, cv.w, cy + ry + depth + 2)

    def top(x, y):
        return math.hypot((x - cx) / rx, (y - cy) / ry) < 1
    outline(cv, box, top, TEAL)
    outline(cv, box, lambda x, y: top(x, y) or top(x, y - depth) or
            (abs(x - cx) < rx and cy <= y < cy + depth), TEAL)
    end = math.radians(-90 + 360 * USED)
    cv.line(cx, cy, cx, cy - ry, TEAL)
    cv.line(cx, cy, round(cx + rx * math.cos(end)), round(cy + ry * math.sin(end)), TEAL)
    cv.frame(0, 0, cv.w, cv.h, BLACK)
    cv.frame(2, 2, cv.w - 2, cv.h - 2, CYAN)
    cv.rect(20, 18, 86, 84, NAVY)   # the tile's shadow
    raised(cv, 16, 14, 82, 80)
    motif(cv, 21, 19)
    centre_text(cv, 94, caption, WHITE, 2, shadow=BLACK)
    cv.rect(24, 116, 76, 117, CYAN)
    centre_text(cv, 259, 'Corvane', CYAN)
    write_bmp(name, cv, VGA16, 4)


# ---- the "working" animation -------------------------------------------------------

WORKING_FRAMES = 7


def working(i):
    """Frame i of the busy animation: files lift off a spinning disk and
    drop into a folder. Every motion repeats after WORKING_FRAMES frames,
    so the last frame runs smoothly back into the first."""
    f = i / WORKING_FRAMES
    cv = Canvas(100, 36, SILVER)
    fx, fy = 70, 9   # the folder's top left corner
    grey = dither(SILVER, GREY, lambda x, y: 0.5)   # soft shadows on the grey
    cv.ellipse(19, 29, 15, 4, grey)
    cv.rect(fx + 1, fy + 24, fx + 28, fy + 26, grey)
    cv.rect(fx, fy, fx + 11, fy + 4, OLIVE)   # tab and back
    cv.frame(fx, fy, fx + 11, fy + 4, BLACK)
    cv.rect(fx, fy + 3, fx + 26, fy + 22, OLIVE)
    cv.frame(fx, fy + 3, fx + 26, fy + 22, BLACK)
    # Three files in flight, each a third of the way behind the next. They
    # start behind the disk and end behind the folder's front.
    for k in range(3):
        t = (k + f) / 3
        x = round(12 + (fx + 8 - 12) * t)
        y = round(12 + 8 * t - 14 * math.sin(math.pi * t))
        cv.rect(x, y, x + 7, y + 9, WHITE)
        cv.frame(x, y, x + 7, y + 9, BLACK)
        for row, ln in ((2, 4), (4, 3), (6, 4)):
            cv.rect(x + 2, y + row, x + 2 + ln - 1, y + row + 1, GREY)

    def in_front(x, y):   # the folder's front flap, leaning back a little
        top, bottom = fy + 10, fy + 23
        k = (y - top) / (bottom - top)
        return 0 <= k < 1 and fx + 2 - 3 * k <= x < fx + 28 - 3 * k
    shape(cv, (fx - 3, fy + 8, fx + 30, fy + 26), in_front, YELLOW, BLACK, (WHITE, OLIVE))
    # The disk, its slices turning a full revolution per cycle.
    disk_outline(cv, 17, 16, 15, 8, 5, BLACK)
    pie_disk(cv, 17, 16, 14, 7, 5, vga_shade, hub=False, turn=360 * f)
    cv.ellipse(17, 16, 2.2, 1.2, BLACK)
    write_bmp('working%d.bmp' % i, cv, VGA16, 4)


# ---- the History tab's chart and the drive picture ----------------------------------

def history_background():
    """The empty chart the History tab draws its line over: a percentage
    axis on the left, a time axis along the bottom, and hatched bands for
    full (red), filling (yellow) and comfortable (green)."""
    cv = Canvas(515, 194, WHITE)
    left, right, top, base = 40, 497, 19, 178   # the plotting area's columns and rows

    def hatch(c):   # every other pixel, so the line drawn on top stays readable
        return lambda x, y: c if (x + y) % 2 == 0 else WHITE
    for c, y0, y1 in ((RED, 19, 29), (YELLOW, 30, 60), (LIME, 61, 177)):
        cv.rect(left, y0, right + 1, y1 + 1, hatch(c))
    cv.rect(left - 1, top - 2, left, base + 1, BLACK)
    cv.rect(left - 1, base, right + 1, base + 1, BLACK)
    for label, row in (('100%', 19), ('75%', 60), ('50%', 100), ('25%', 140)):
        draw_text(cv, 37 - text_width(label), row - 3, label, BLACK)
    cv.frame(0, 0, cv.w, cv.h, GREY)
    write_bmp('history_background.bmp', cv, VGA16, 4)


def drive():
    """A hard disk drive seen a little from above, its activity light on.
    Pure blue is the background the program makes transparent, so the
    drive itself never uses it."""
    cv = Canvas(32, 24, BLUE)
    x0, y0, x1, y1, d = 3, 11, 24, 19, 4   # the front face, inclusive, and the slant
    cv.rect(x0, y0, x1 + 1, y1 + 1, SILVER)
    for k in range(1, d + 1):
        cv.rect(x0 + k, y0 - k, x1 + k + 1, y0 - k + 1, SILVER)   # top face
        cv.rect(x1 + k, y0 - k, x1 + k + 1, y1 - k + 1, GREY)     # right side
    cv.rect(x0 + 2, y0 - 2, x1 + 2, y0 - 1, WHITE)                # light on the top
    cv.rect(x0 + 1, y0 + 1, x1, y0 + 2, WHITE)                    # front's upper rim
    cv.rect(x0 + 3, y0 + 4, x0 + 13, y0 + 5, GREY)                # a slot in the front
    cv.rect(x0 + 3, y0 + 5, x0 + 13, y0 + 6, WHITE)
    cv.rect(x1 - 4, y1 - 3, x1 - 2, y1 - 1, LIME)                 # activity light
    cv.put(x1 - 4, y1 - 3, WHITE)
    cv.frame(x0, y0, x1 + 1, y1 + 1, BLACK)
    cv.line(x0, y0, x0 + d, y0 - d, BLACK)
    cv.line(x0 + d, y0 - d, x1 + d, y0 - d, BLACK)
    cv.line(x1, y0, x1 + d, y0 - d, BLACK)
    cv.line(x1 + d, y0 - d, x1 + d, y1 - d, BLACK)
    cv.line(x1, y1, x1 + d, y1 - d, BLACK)
    write_bmp('drive.bmp', cv, VGA16, 4)


def main():
    splash256()
    splash16()
    write_ico('corvane.ico', [icon(32), icon(16)])
    welcome256()
    for name, caption, motif in PAGES:
        page(name, caption, motif)
    for i in range(WORKING_FRAMES):
        working(i)
    history_background()
    drive()


if __name__ == '__main__':
    main()
