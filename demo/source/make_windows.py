#!/usr/bin/env python3
"""Draws the demo's configuration window and writes its window definitions
(standard library only).

    python3 make_windows.py KXTOOL [DEMO_DIR] [--skin-png FILE] [--generic-dir GENERIC_DIR]

The skin of the main window (a 640 x 480 picture: title band, a frame for the
thumbnails, a frame for the preview, painted buttons and arrows) and the
three pictures of the website button are drawn here, the skin stored as a
baseline JPEG that this script encodes itself, the button pictures as 24-bit
BMP files. The text forms and their bindings go to DEMO_DIR/source/windows/
(MainWindow.form, MainWindow.bindings.ini, About.form, About.bindings.ini),
and `KXTOOL kxu-make` joins them into DEMO_DIR/KXGUI.kxu, the window
definitions that `kxtool pack` puts into the screensaver. DEMO_DIR defaults
to the folder above this script. --skin-png also writes the skin as a PNG
to look at.

The same windows made generic - no website, no words about the demo, the
publisher without "by" so that none leaves no stray word - are the windows
`kxtool make` gives a screensaver made from a folder of pictures. They go to
GENERIC_DIR (--generic-dir; by default tools/windows/ of this repository):
the same four text files and KXGUI.kxu, which the build compiles into kxtool.

Every step is deterministic: the same script gives the same files byte for
byte, so the committed files can be checked against it.
"""
import heapq
import math
import os
import struct
import subprocess
import sys
import zlib

W, H = 640, 480


# --- a floating-point RGB canvas -------------------------------------------

class Canvas:
    def __init__(self, w, h, colour=(0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(map(float, colour)) for _ in range(w * h)]

    def blend(self, x, y, colour, a):
        if a <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        p = self.px[y * self.w + x]
        if a >= 1:
            p[0], p[1], p[2] = colour
        else:
            for i in range(3):
                p[i] += (colour[i] - p[i]) * a

    def paint(self, box, shade):
        """shade(x, y) -> (colour, alpha) or None, for each pixel of box
        (x0, y0, x1, y1), the end excluded."""
        x0, y0, x1, y1 = (int(v) for v in box)
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                r = shade(x + 0.5, y + 0.5)
                if r:
                    self.blend(x, y, r[0], r[1])

    def crop(self, x0, y0, w, h):
        c = Canvas(w, h)
        for y in range(h):
            for x in range(w):
                c.px[y * w + x] = list(self.px[(y0 + y) * self.w + x0 + x])
        return c

    def rgb_rows(self):
        """Rows of (r, g, b) byte triples, top row first."""
        return [[tuple(max(0, min(255, int(v + 0.5))) for v in self.px[y * self.w + x]) for x in range(self.w)]
                for y in range(self.h)]


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def coverage(d):
    """Coverage of a pixel whose centre lies d pixels outside an edge."""
    return max(0.0, min(1.0, 0.5 - d))


def rounded_box_distance(x, y, box, r):
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    qx = abs(x - cx) - ((x1 - x0) / 2 - r)
    qy = abs(y - cy) - ((y1 - y0) / 2 - r)
    return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r


def fill_rounded(c, box, r, colour_at, alpha=1.0):
    """Fills a rounded rectangle; colour_at(x, y) gives the colour."""
    def shade(x, y):
        a = coverage(rounded_box_distance(x, y, box, r)) * alpha
        return (colour_at(x, y), a) if a > 0 else None
    c.paint((box[0] - 1, box[1] - 1, box[2] + 1, box[3] + 1), shade)


def stroke_rounded(c, box, r, colour, width=1.0, alpha=1.0):
    def shade(x, y):
        d = abs(rounded_box_distance(x, y, box, r)) - width / 2
        a = coverage(d) * alpha
        return (colour, a) if a > 0 else None
    c.paint((box[0] - 2, box[1] - 2, box[2] + 2, box[3] + 2), shade)


def shadow_rounded(c, box, r, spread, alpha):
    """A soft dark shadow around a rounded rectangle."""
    def shade(x, y):
        d = rounded_box_distance(x, y, box, r)
        if d <= 0:
            return None
        t = max(0.0, 1 - d / spread)
        return ((0, 0, 0), alpha * t * t) if t > 0 else None
    s = int(spread) + 1
    c.paint((box[0] - s, box[1] - s, box[2] + s, box[3] + s), shade)


def fill_polygon(c, points, colour, alpha=1.0, samples=4):
    """A polygon, antialiased by samples x samples points per pixel."""
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    n = len(points)

    def inside(x, y):
        hit = False
        for i in range(n):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit

    def shade(x, y):
        k = sum(inside(x - 0.5 + (i + 0.5) / samples, y - 0.5 + (j + 0.5) / samples)
                for i in range(samples) for j in range(samples))
        return (colour, alpha * k / samples ** 2) if k else None
    c.paint((math.floor(min(xs)), math.floor(min(ys)), math.ceil(max(xs)) + 1, math.ceil(max(ys)) + 1), shade)


# --- text: a 5 x 9 bitmap font drawn as antialiased strokes ----------------

# Rows 0 to 6 hold capitals and ascenders (the baseline lies under row 6),
# lower-case letters start on row 2, descenders reach rows 7 and 8. Each lit
# cell joins its lit neighbours with a stroke, diagonal ones included where no
# straight neighbour already joins them, so curves come out smooth.
GLYPHS = {
    "A": ["..#..", ".#.#.", "#...#", "#...#", "#####", "#...#", "#...#"],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "S": [".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."],
    "a": ["", "", ".###.", "....#", ".####", "#...#", ".####"],
    "b": ["#....", "#....", "####.", "#...#", "#...#", "#...#", "####."],
    "c": ["", "", ".###.", "#....", "#....", "#...#", ".###."],
    "e": ["", "", ".###.", "#...#", "#####", "#....", ".###."],
    "g": ["", "", ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."],
    "i": ["..#..", "", ".##..", "..#..", "..#..", "..#..", ".###."],
    "l": [".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "n": ["", "", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "o": ["", "", ".###.", "#...#", "#...#", "#...#", ".###."],
    "p": ["", "", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."],
    "r": ["", "", "#.##.", "##..#", "#....", "#....", "#...."],
    "s": ["", "", ".####", "#....", ".###.", "....#", "####."],
    "t": [".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##."],
    "u": ["", "", "#...#", "#...#", "#...#", "#..##", ".##.#"],
    "v": ["", "", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "w": ["", "", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
}


def glyph_strokes(ch):
    """(segments in cell units, left column, advance in cells)."""
    if ch == " ":
        return [], 0, 3
    rows = GLYPHS[ch]
    lit = {(x, y) for y, row in enumerate(rows) for x, v in enumerate(row) if v == "#"}
    segs = []
    for (x, y) in sorted(lit):
        alone = True
        for dx, dy in ((1, 0), (0, 1), (-1, 0), (0, -1)):
            if (x + dx, y + dy) in lit:
                alone = False
                if (dx, dy) in ((1, 0), (0, 1)):
                    segs.append(((x, y), (x + dx, y + dy)))
        for dx in (1, -1):
            if (x + dx, y + 1) in lit and (x + dx, y) not in lit and (x, y + 1) not in lit:
                segs.append(((x, y), (x + dx, y + 1)))
                alone = False
        for dx in (1, -1):
            if (x + dx, y - 1) in lit and (x + dx, y) not in lit and (x, y - 1) not in lit:
                alone = False
        if alone:
            segs.append(((x, y), (x, y)))
    cols = [x for x, _ in lit]
    return segs, min(cols), max(cols) - min(cols) + 2


def segment_distance(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / ll))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def text_width(text, unit):
    return (sum(glyph_strokes(ch)[2] for ch in text) - 1) * unit


def draw_text(c, x, y, text, unit, colour, weight=1.7, alpha=1.0):
    """Text whose capitals stand on the baseline y, starting at x; unit is
    the size of one font cell in pixels, weight the stroke width."""
    top = y - 6 * unit
    for ch in text:
        segs, left, advance = glyph_strokes(ch)
        pts = [((sx - left) * unit + x, sy * unit + top) for s in segs for (sx, sy) in s]
        if segs:
            lines = [(pts[2 * i], pts[2 * i + 1]) for i in range(len(segs))]

            def shade(px, py, lines=lines):
                d = min(segment_distance(px, py, a, b) for a, b in lines) - weight / 2
                a = coverage(d) * alpha
                return (colour, a) if a > 0 else None
            m = weight + 1
            c.paint((math.floor(min(p[0] for p in pts) - m), math.floor(min(p[1] for p in pts) - m),
                     math.ceil(max(p[0] for p in pts) + m), math.ceil(max(p[1] for p in pts) + m)), shade)
        x += advance * unit


def draw_text_centred(c, box, text, unit, colour, weight=1.7, alpha=1.0):
    x0, y0, x1, y1 = box
    x = (x0 + x1) / 2 - text_width(text, unit) / 2
    y = (y0 + y1) / 2 + 3 * unit
    draw_text(c, x, y, text, unit, colour, weight, alpha)


# --- the skin ----------------------------------------------------------------

INK = (236, 242, 252)
FRAME_FILL = (18, 26, 44)
FRAME_LINE = (78, 112, 166)
HEADING = (160, 190, 235)
GRID_COLOUR = (22, 32, 54)  # the thumbnail grid's own colour, drawn by the player

# Everything the window definition places over the skin, in window pixels.
TITLE_BAND = (0, 0, W, 74)
WEBSITE_BUTTON = (524, 23, 96, 28)  # left, top, width, height
THUMB_FRAME = (16, 90, 336, 354)
THUMB_GRID = (24, 118, 304, 226)  # three columns of 94 beside the scroll bar
PREVIEW_FRAME = (348, 90, 624, 354)
PREVIEW = (360, 118, 252, 189)
PREV_ARROW = (362, 314, 32, 32)
NEXT_ARROW = (578, 314, 32, 32)
BUTTONS = [  # name, caption, hint, action, Param1
    ("hsPreview", "Preview", "Show the selected picture full screen", 4, ""),
    ("hsSettings", "Settings", "Change how the screensaver plays", 5, ""),
    ("hsWallpaper", "Wallpaper", "Make the selected picture your wallpaper", 9, ""),
    ("hsAbout", "About", "About this screensaver", 1, "About"),
    ("hsClose", "Close", "Close this window", 6, ""),
]
BUTTON_TOP, BUTTON_W, BUTTON_H, BUTTON_GAP = 376, 108, 34, 10


def button_left(i):
    return (W - len(BUTTONS) * BUTTON_W - (len(BUTTONS) - 1) * BUTTON_GAP) // 2 + i * (BUTTON_W + BUTTON_GAP)


def background(c):
    def shade(x, y):
        base = mix((26, 38, 64), (10, 14, 26), y / H)
        glow = max(0.0, 1 - math.hypot(x - W * 0.75, y - H * 0.2) / 520)
        return mix(base, (46, 70, 112), glow * 0.5), 1.0
    c.paint((0, 0, W, H), shade)
    # The title band: a deeper blue with a bright rule under it.
    x0, y0, x1, y1 = TITLE_BAND

    def band(x, y):
        return mix((44, 82, 140), (20, 40, 76), y / y1), 0.9
    c.paint(TITLE_BAND, band)
    c.paint((0, y1 - 2, W, y1), lambda x, y: ((110, 160, 225), 0.8 if y < y1 - 1 else 0.35))
    # The emblem: a setting sun over three waves in a round badge.
    cx, cy, r = 42, 37, 24
    fill_rounded(c, (cx - r, cy - r, cx + r, cy + r), r, lambda x, y: mix((252, 196, 120), (222, 96, 84), (y - cy + r) / (2 * r)))
    fill_rounded(c, (cx - 9, cy - 12, cx + 9, cy + 6), 9, lambda x, y: (255, 238, 190), 0.95)

    def waves(x, y):
        if math.hypot(x - cx, y - cy) > r - 0.5:
            return None
        for k in range(3):
            h = cy + 2 + 7 * k + 2.2 * math.sin((x - cx) / 3.5 + k)
            if h - 1.6 < y < h + 1.6:
                return (40, 70, 130), 0.9
            if y >= h + 1.6 and k == 2:
                return (30, 56, 110), 0.9
        return None
    c.paint((cx - r, cy - r, cx + r, cy + r), waves)
    stroke_rounded(c, (cx - r, cy - r, cx + r, cy + r), r, (255, 240, 210), 1.5, 0.9)


def frame(c, box, heading):
    shadow_rounded(c, box, 10, 8, 0.45)
    fill_rounded(c, box, 10, lambda x, y: mix(FRAME_FILL, (26, 38, 62), (y - box[1]) / (box[3] - box[1])), 0.92)
    stroke_rounded(c, box, 10, FRAME_LINE, 1.4)
    draw_text(c, box[0] + 14, box[1] + 19, heading, 1.75, HEADING, 1.6)


def inset(c, left, top, w, h):
    """A sunken edge just outside a control the player draws."""
    stroke_rounded(c, (left - 2, top - 2, left + w + 2, top + h + 2), 3, (6, 10, 18), 1.5, 0.9)
    stroke_rounded(c, (left - 3.5, top - 3.5, left + w + 3.5, top + h + 3.5), 4, FRAME_LINE, 1.0, 0.5)


def push_button(c, box, caption, top_colour, bottom_colour, line, ink=INK, pressed=False):
    shadow_rounded(c, box, 8, 5, 0.5)
    fill_rounded(c, box, 8, lambda x, y: mix(top_colour, bottom_colour, (y - box[1]) / (box[3] - box[1])))
    # A soft shine over the upper half.
    fill_rounded(c, (box[0] + 2, box[1] + 2, box[2] - 2, (box[1] + box[3]) / 2), 6, lambda x, y: (255, 255, 255),
                 0.05 if pressed else 0.12)
    stroke_rounded(c, box, 8, line, 1.3)
    shift = 1 if pressed else 0
    draw_text_centred(c, (box[0], box[1] + shift, box[2], box[3] + shift), caption, 1.75, ink, 1.7)


def arrow_button(c, left, top, size, pointing):
    r = size / 2
    cx, cy = left + r, top + r
    box = (left, top, left + size, top + size)
    shadow_rounded(c, box, r, 5, 0.5)
    fill_rounded(c, box, r, lambda x, y: mix((84, 134, 204), (38, 70, 124), (y - top) / size))
    stroke_rounded(c, box, r, (140, 186, 240), 1.3)
    s = pointing
    fill_polygon(c, [(cx + 6 * s, cy), (cx - 4 * s, cy - 7), (cx - 4 * s, cy + 7)], INK)


def draw_skin():
    c = Canvas(W, H)
    background(c)
    frame(c, THUMB_FRAME, "Pictures")
    frame(c, PREVIEW_FRAME, "Preview")
    inset(c, *THUMB_GRID)
    inset(c, *PREVIEW)
    arrow_button(c, *PREV_ARROW[:3], -1)
    arrow_button(c, *NEXT_ARROW[:3], 1)
    for i, (_, caption, _, _, _) in enumerate(BUTTONS):
        box = (button_left(i), BUTTON_TOP, button_left(i) + BUTTON_W, BUTTON_TOP + BUTTON_H)
        if caption == "Close":
            push_button(c, box, caption, (196, 86, 80), (128, 38, 40), (236, 140, 130))
        else:
            push_button(c, box, caption, (76, 128, 200), (38, 72, 128), (134, 180, 236))
    c.paint((24, 424, W - 24, 425), lambda x, y: (FRAME_LINE, 0.6))
    return c


def website_buttons(skin):
    """The website button's up, over and down pictures, each drawn over the
    skin beneath it, so that the corners match whether or not the player
    leaves out the pictures' transparent colour."""
    left, top, w, h = WEBSITE_BUTTON
    box = (1.5, 1.5, w - 1.5, h - 3)
    looks = []
    for look in ("up", "over", "down"):
        c = skin.crop(left, top, w, h)
        if look == "up":
            push_button(c, box, "Website", (58, 96, 156), (30, 56, 102), (120, 166, 226))
        elif look == "over":
            push_button(c, box, "Website", (98, 152, 226), (48, 88, 152), (190, 220, 255), (255, 255, 255))
        else:
            push_button(c, (box[0], box[1] + 1, box[2], box[3] + 1), "Website", (30, 56, 102), (52, 90, 150),
                         (120, 166, 226), pressed=True)
        looks.append(c)
    return looks


# --- picture files -----------------------------------------------------------

def bmp_bytes(c):
    """A 24-bit BMP file, rows bottom-up, each padded to 4 bytes."""
    rows = c.rgb_rows()
    pad = (4 - c.w * 3 % 4) % 4
    body = b"".join(b"".join(bytes((b, g, r)) for (r, g, b) in row) + b"\0" * pad for row in reversed(rows))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h, 1, 24, 0, len(body), 3780, 3780, 0, 0)
    return header + info + body


def png_bytes(c):
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in c.rgb_rows())

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", c.w, c.h, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# A baseline JPEG encoder: 8 x 8 blocks, YCbCr without subsampling (the
# skin's text keeps its colour edges), the example quantisation tables
# scaled to a quality, and Huffman tables built for the picture itself.

LUMA_Q = [16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55, 14, 13, 16, 24, 40, 57, 69, 56,
          14, 17, 22, 29, 51, 87, 80, 62, 18, 22, 37, 56, 68, 109, 103, 77, 24, 35, 55, 64, 81, 104, 113, 92,
          49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99]
CHROMA_Q = [17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99, 99, 99,
            47, 66, 99, 99, 99, 99, 99, 99] + [99] * 32


def zigzag_order():
    order = []
    for s in range(15):
        cells = [(i, s - i) for i in range(8) if 0 <= s - i < 8]  # (row, column)
        order += cells if s % 2 else [(r, col) for (col, r) in cells]
    return [r * 8 + col for r, col in order]


ZIGZAG = zigzag_order()
COS = [[(math.sqrt(0.125) if u == 0 else 0.5) * math.cos((2 * x + 1) * u * math.pi / 16) for x in range(8)]
       for u in range(8)]


def scaled_table(table, quality):
    scale = 5000 // quality if quality < 50 else 200 - 2 * quality
    return [max(1, min(255, (q * scale + 50) // 100)) for q in table]


def dct_quantised(block, q):
    """The zigzag-ordered quantised coefficients of 64 level-shifted samples."""
    rows = [[sum(COS[u][x] * block[y * 8 + x] for x in range(8)) for u in range(8)] for y in range(8)]
    out = [0] * 64
    for v in range(8):
        cv = COS[v]
        for u in range(8):
            coef = sum(cv[y] * rows[y][u] for y in range(8))
            out[v * 8 + u] = coef
    return [int(math.floor(out[k] / q[k] + 0.5)) for k in ZIGZAG]


def magnitude(v):
    """(size category, the bits that follow it)."""
    n = abs(v).bit_length()
    return n, (v if v >= 0 else v + (1 << n) - 1)


def huffman_table(freq):
    """(BITS, HUFFVAL) of a code for the symbol counts freq, no code longer
    than 16 bits and none of all ones."""
    counts = dict(freq)
    counts[256] = 1  # reserves the all-ones code
    heap = [(f, s, [s]) for s, f in sorted(counts.items())]
    heapq.heapify(heap)
    size = {s: 0 for s in counts}
    tie = 1000
    while len(heap) > 1:
        f1, _, s1 = heapq.heappop(heap)
        f2, _, s2 = heapq.heappop(heap)
        for s in s1 + s2:
            size[s] += 1
        tie += 1
        heapq.heappush(heap, (f1 + f2, tie, s1 + s2))
    bits = [0] * max(33, len(counts) + 1)
    for s in counts:
        bits[size[s]] += 1
    for i in range(len(bits) - 1, 16, -1):
        while bits[i] > 0:
            j = i - 2
            while bits[j] == 0:
                j -= 1
            bits[i] -= 2
            bits[i - 1] += 1
            bits[j + 1] += 2
            bits[j] -= 1
    i = 16
    while bits[i] == 0:
        i -= 1
    bits[i] -= 1  # drop the reserved symbol, the last of the longest codes
    values = [s for s in sorted(counts, key=lambda s: (size[s], s)) if s != 256]
    return bits[1:17], values


def huffman_codes(bits, values):
    codes, code, k = {}, 0, 0
    for length in range(1, 17):
        for _ in range(bits[length - 1]):
            codes[values[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return codes


def jpeg_bytes(c, quality=90):
    rows = c.rgb_rows()
    planes = [[], [], []]
    for row in rows:
        for r, g, b in row:
            planes[0].append(0.299 * r + 0.587 * g + 0.114 * b - 128)
            planes[1].append(-0.168736 * r - 0.331264 * g + 0.5 * b)
            planes[2].append(0.5 * r - 0.418688 * g - 0.081312 * b)
    tables = [scaled_table(LUMA_Q, quality), scaled_table(CHROMA_Q, quality)]
    natural = tables  # row by row; the file lists them in zigzag order
    # First pass: the symbols of every block; the second writes them.
    symbols = []  # (table class, table, symbol, extra bits, extra length)
    freq = [[{}, {}], [{}, {}]]  # [dc, ac][luma, chroma]
    last_dc = [0, 0, 0]
    bw, bh = (c.w + 7) // 8, (c.h + 7) // 8
    for by in range(bh):
        for bx in range(bw):
            for comp in range(3):
                t = 0 if comp == 0 else 1
                block = []
                for y in range(8):
                    sy = min(by * 8 + y, c.h - 1)
                    for x in range(8):
                        block.append(planes[comp][sy * c.w + min(bx * 8 + x, c.w - 1)])
                zz = dct_quantised(block, natural[t])
                diff = zz[0] - last_dc[comp]
                last_dc[comp] = zz[0]
                n, extra = magnitude(diff)
                symbols.append((0, t, n, extra, n))
                freq[0][t][n] = freq[0][t].get(n, 0) + 1
                run = 0
                last = max([k for k in range(1, 64) if zz[k]], default=0)
                for k in range(1, last + 1):
                    if zz[k] == 0:
                        run += 1
                        continue
                    while run > 15:
                        symbols.append((1, t, 0xF0, 0, 0))
                        freq[1][t][0xF0] = freq[1][t].get(0xF0, 0) + 1
                        run -= 16
                    n, extra = magnitude(zz[k])
                    s = run << 4 | n
                    symbols.append((1, t, s, extra, n))
                    freq[1][t][s] = freq[1][t].get(s, 0) + 1
                    run = 0
                if last < 63:
                    symbols.append((1, t, 0, 0, 0))
                    freq[1][t][0] = freq[1][t].get(0, 0) + 1
    specs = [[huffman_table(freq[k][t]) for t in range(2)] for k in range(2)]
    codes = [[huffman_codes(*specs[k][t]) for t in range(2)] for k in range(2)]
    data = bytearray()
    acc, n = 0, 0
    for k, t, s, extra, length in symbols:
        code, clen = codes[k][t][s]
        acc = acc << clen | code
        n += clen
        if length:
            acc = acc << length | extra
            n += length
        while n >= 8:
            byte = acc >> (n - 8) & 255
            data.append(byte)
            if byte == 255:
                data.append(0)
            n -= 8
        acc &= (1 << n) - 1
    if n:
        byte = (acc << (8 - n) | (1 << (8 - n)) - 1) & 255
        data.append(byte)
        if byte == 255:
            data.append(0)

    def segment(marker, body):
        return struct.pack(">BBH", 0xFF, marker, len(body) + 2) + body
    out = b"\xff\xd8" + segment(0xE0, b"JFIF\0\x01\x01\0\0\x01\0\x01\0\0")
    for t in range(2):
        out += segment(0xDB, bytes([t]) + bytes(tables[t][z] for z in ZIGZAG))
    out += segment(0xC0, struct.pack(">BHHB", 8, c.h, c.w, 3) + bytes([1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1]))
    for k in range(2):
        for t in range(2):
            bits, values = specs[k][t]
            out += segment(0xC4, bytes([k << 4 | t]) + bytes(bits) + bytes(values))
    out += segment(0xDA, bytes([3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0]))
    return out + bytes(data) + b"\xff\xd9"


def picture_data(kind, stream):
    """A picture property's Data: the kind's name, the byte count, the file."""
    return bytes([len(kind)]) + kind.encode() + struct.pack("<I", len(stream)) + stream


# --- text forms --------------------------------------------------------------

def colour(rgb):
    """A colour as a definition writes it: red in the low byte."""
    r, g, b = rgb
    return str(b << 16 | g << 8 | r)


def quoted(text):
    return "'" + text.replace("'", "''") + "'"


class Form:
    def __init__(self):
        self.lines = []
        self.depth = 0

    def line(self, text):
        self.lines.append("  " * self.depth + text)

    def begin(self, name, cls):
        self.line("object %s: %s" % (name, cls))
        self.depth += 1

    def end(self):
        self.depth -= 1
        self.line("end")

    def props(self, *pairs):
        for name, value in pairs:
            self.line("%s = %s" % (name, value))

    def binary(self, name, data):
        self.line("%s = {" % name)
        hexed = data.hex().upper()
        pieces = [hexed[i:i + 64] for i in range(0, len(hexed), 64)] or [""]
        pieces[-1] += "}"
        self.depth += 1
        for p in pieces:
            self.line(p)
        self.depth -= 1

    def font(self, rgb, height, bold=False, underline=False):
        style = ", ".join(s for s, on in (("fsBold", bold), ("fsUnderline", underline)) if on)
        self.props(("Font.Charset", "DEFAULT_CHARSET"), ("Font.Color", colour(rgb)), ("Font.Height", str(height)),
                   ("Font.Name", "'Arial'"), ("Font.Style", "[%s]" % style), ("ParentFont", "False"))

    def text(self):
        return "\n".join(self.lines) + "\n"


def geometry(left, top, width, height):
    return (("Left", str(left)), ("Top", str(top)), ("Width", str(width)), ("Height", str(height)))


def window_header(f, name, caption, width, height, colour_value, frame_props):
    f.begin(name, "TfmForm")
    f.props(("Left", "200"), ("Top", "120"))
    f.props(*frame_props)
    f.props(("Caption", quoted(caption)), ("ClientHeight", str(height)), ("ClientWidth", str(width)),
            ("Color", colour_value), ("Font.Charset", "DEFAULT_CHARSET"), ("Font.Color", "clWindowText"),
            ("Font.Height", "-11"), ("Font.Name", "'MS Sans Serif'"), ("Font.Style", "[]"),
            ("OldCreateOrder", "False"), ("Position", "poScreenCenter"), ("Visible", "True"))


def main_window(skin_jpeg, website_looks, generic=False):
    """The main window; generic: without the website button, the publisher's
    name alone."""
    f = Form()
    window_header(f, "MainWindow", "<ScreensaverName>", W, H, colour((14, 20, 36)),
                  [("BorderStyle", "bsNone")])
    f.props(("NoFrame", "True"), ("OnClose", "FormClose"), ("OnShow", "FormShow"),
            ("PixelsPerInch", "96"), ("TextHeight", "13"))
    # The whole skin; everything else lies on top of it.
    f.begin("imgSkin", "TImage")
    f.props(*geometry(0, 0, W, H), ("AutoSize", "True"), ("Tag", "1"))
    f.binary("Picture.Data", picture_data("TJPEGImage", skin_jpeg))
    f.end()
    f.begin("lbTitle", "TLabel")
    f.props(*geometry(82, 12, 420, 27), ("Caption", quoted("<ScreensaverName>")))
    f.font((255, 255, 255), -24, bold=True)
    f.props(("Transparent", "True"), ("Tag", "1"))
    f.end()
    f.begin("lbCompany", "TLabel")
    f.props(*geometry(84, 44, 300, 16), ("Caption", quoted(company_caption(generic))))
    f.font((170, 200, 240), -13, bold=True)
    f.props(("Transparent", "True"), ("Tag", "1"))
    f.end()
    if not generic:
        left, top, w, h = WEBSITE_BUTTON
        f.begin("btnWebsite", "TMyButton")
        f.props(*geometry(left, top, w, h), ("Cursor", "crHandPoint"), ("Hint", quoted("Visit the website")),
                ("ShowHint", "True"), ("ParentShowHint", "False"), ("AutoSize", "True"), ("Transparent", "False"),
                ("Tag", "1"))
        for prop, look in zip(("ButtonUp", "ButtonOver", "ButtonDown"), website_looks):
            f.binary(prop + ".Data", picture_data("TBitmap", bmp_bytes(look)))
        f.end()
    left, top, w, h = THUMB_GRID
    f.begin("Thumbnails", "TKXThumbnail2")
    f.props(*geometry(left, top, w, h), ("Color", colour(GRID_COLOUR)))
    f.font((214, 226, 246), -11)
    f.props(("TabOrder", "0"), ("Tag", "1"), ("PictureWidth", "74"), ("PictureHeight", "56"),
            ("ShowCheckBox", "True"), ("ShowTitle", "True"), ("MultiRows", "True"))
    f.end()
    left, top, w, h = PREVIEW
    f.begin("Preview", "TKXPreview")
    f.props(*geometry(left, top, w, h), ("Cursor", "crHandPoint"), ("Hint", quoted("Show this picture full screen")),
            ("ShowHint", "True"), ("Stretch", "True"), ("Tag", "1"))
    f.end()
    spots = [("hsPrevious", PREV_ARROW, "Previous picture"), ("hsNext", NEXT_ARROW, "Next picture")]
    spots += [(name, (button_left(i), BUTTON_TOP, BUTTON_W, BUTTON_H), hint)
              for i, (name, _, hint, _, _) in enumerate(BUTTONS)]
    # Hot spots: transparent labels without text over the painted buttons.
    for name, (left, top, w, h), hint in spots:
        f.begin(name, "TLabel")
        f.props(*geometry(left, top, w, h), ("Cursor", "crHandPoint"), ("Hint", quoted(hint)), ("AutoSize", "False"),
                ("Caption", "''"), ("ParentShowHint", "False"), ("ShowHint", "True"), ("Transparent", "True"),
                ("Tag", "1"))
        f.end()
    f.begin("lbHelp", "TLabel")
    f.props(*geometry(24, 438, 592, 14),
            ("Caption", quoted("Tick the pictures the show should play; click a picture to see it in the preview.")))
    f.font((150, 172, 210), -11)
    f.props(("Transparent", "True"), ("Tag", "1"))
    f.end()
    f.end()
    bindings = [] if generic else [("btnWebsite", 0, "<Website>")]
    bindings += [("Preview", 4, ""), ("hsPrevious", 3, ""), ("hsNext", 2, "")]
    bindings += [(name, action, param) for name, _, _, action, param in BUTTONS]
    return f.text(), bindings_ini(bindings)


ABOUT_TEXT = ("A slideshow of pictures whose water ripples and mirrors the hills, with birds, fish, "
              "falling snow and music.\r\nMove the mouse or press a key to end the show.")
GENERIC_ABOUT_TEXT = ("A slideshow of the pictures of one folder.\r\n"
                      "Move the mouse or press a key to end the show.")


def company_caption(generic):
    return "<CompanyName>" if generic else "by <CompanyName>"


def about_window(generic=False):
    """The About window; generic: without the website link, about any
    folder's pictures."""
    f = Form()
    window_header(f, "About", "About <ScreensaverName>", 360, 280, "clBtnFace",
                  [("BorderIcons", "[biSystemMenu]"), ("BorderStyle", "bsDialog")])
    f.props(("ShowButtons", "True"), ("OnShow", "FormShow"), ("PixelsPerInch", "96"), ("TextHeight", "13"))
    f.begin("pnInfo", "TPanel")
    f.props(*geometry(12, 12, 336, 108), ("Caption", "''"), ("Color", colour((28, 44, 76))), ("TabOrder", "0"), ("Tag", "1"))
    for name, top, caption, rgb, height, bold in (("lbName", 14, "<ScreensaverName>", (255, 255, 255), -19, True),
                                                  ("lbCompany", 44, company_caption(generic), (180, 205, 240), -13,
                                                   True)):
        f.begin(name, "TLabel")
        f.props(*geometry(16, top, 300, -height + 4), ("Caption", quoted(caption)))
        f.font(rgb, height, bold)
        f.props(("Transparent", "True"), ("Tag", "1"))
        f.end()
    if not generic:
        f.begin("lbWebsite", "TLabel")
        f.props(*geometry(16, 76, 300, 16), ("Cursor", "crHandPoint"), ("Hint", quoted("Visit the website")),
                ("Caption", quoted("<Website>")))
        f.font((120, 190, 255), -13, underline=True)
        f.props(("ParentShowHint", "False"), ("ShowHint", "True"), ("Transparent", "True"), ("Tag", "1"))
        f.end()
    f.end()
    f.begin("mmAbout", "TMyMemo")
    f.props(*geometry(12, 130, 336, 100), ("Color", "clWindow"), ("TabOrder", "1"), ("WordWrap", "True"),
            ("Text", quoted(GENERIC_ABOUT_TEXT if generic else ABOUT_TEXT).replace("\r\n", "'#13#10'")),
            ("Tag", "1"))
    f.font((0, 0, 0), -11)
    f.end()
    f.begin("btnOK", "TBitBtn")
    f.props(*geometry(264, 242, 84, 28), ("Caption", "'OK'"), ("TabOrder", "2"), ("Tag", "1"))
    f.end()
    f.end()
    return f.text(), bindings_ini(([] if generic else [("lbWebsite", 0, "<Website>")]) + [("btnOK", 6, "")])


def bindings_ini(bindings):
    out = []
    for name, action, param in bindings:
        out += ["[%s]" % name, "Action=%d" % action, "Param1=%s" % param, "Param2=", "Param3=", ""]
    return "\n".join(out)


def write_windows(kxtool, folder, kxu, windows):
    """The text forms and bindings into folder, joined into kxu."""
    os.makedirs(folder, exist_ok=True)
    inputs = []
    for name, (form, bindings) in windows:
        form_path = os.path.join(folder, name + ".form")
        ini_path = os.path.join(folder, name + ".bindings.ini")
        with open(form_path, "w", newline="\n") as f:
            f.write(form)
        with open(ini_path, "w", newline="\n") as f:
            f.write(bindings)
        inputs.append(form_path + ":" + ini_path)
    subprocess.run([kxtool, "kxu-make", *inputs, "-o", kxu], check=True)


def option(argv, name):
    """The value after --name, taken out of argv; None when absent."""
    if name not in argv:
        return None
    i = argv.index(name)
    if i + 1 >= len(argv):
        sys.exit(__doc__)
    value = argv[i + 1]
    del argv[i:i + 2]
    return value


def main(argv):
    argv = list(argv)
    png = option(argv, "--skin-png")
    here = os.path.dirname(os.path.abspath(__file__))
    generic = option(argv, "--generic-dir") or os.path.join(os.path.dirname(os.path.dirname(here)), "tools", "windows")
    args = [a for a in argv if not a.startswith("--")]
    if len(args) not in (1, 2) or len(args) != len(argv):
        sys.exit(__doc__)
    kxtool = args[0]
    demo = args[1] if len(args) == 2 else os.path.dirname(here)
    skin = draw_skin()
    if png:
        with open(png, "wb") as f:
            f.write(png_bytes(skin))
    looks = website_buttons(skin)
    skin_jpeg = jpeg_bytes(skin)
    write_windows(kxtool, os.path.join(demo, "source", "windows"), os.path.join(demo, "KXGUI.kxu"),
                  [("MainWindow", main_window(skin_jpeg, looks)), ("About", about_window())])
    write_windows(kxtool, generic, os.path.join(generic, "KXGUI.kxu"),
                  [("MainWindow", main_window(skin_jpeg, looks, generic=True)), ("About", about_window(generic=True))])


if __name__ == "__main__":
    main(sys.argv[1:])
