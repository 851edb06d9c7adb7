#!/usr/bin/env python3
"""Draws the demo project's pictures as PPM files (standard library only).

Each scene is a few gradients and shapes computed per pixel; convert the
results to JPEG with cjpeg (libjpeg-turbo-progs):
    python3 make_pictures.py OUTDIR && for f in OUTDIR/*.ppm; do cjpeg -quality 88 "$f" > "${f%.ppm}.jpg"; done
It also writes the lake's two animated objects as they are packed: bird.png,
a gull with soft alpha edges, and fish.gif, a fish that flaps its tail in
four frames.
"""
import math
import os
import struct
import sys
import zlib

W, H = 800, 600


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def lake(x, y):
    horizon = H * 0.55
    if y < horizon:
        sky = mix((40, 70, 140), (250, 170, 110), y / horizon)
        d = math.hypot(x - W * 0.65, y - horizon * 0.8)
        if d < 45:
            return (255, 230, 160)
        ridge = horizon - 60 - 40 * math.sin(x / 70.0) - 25 * math.sin(x / 23.0 + 1)
        if y > ridge:
            return mix((50, 60, 80), (30, 40, 55), (y - ridge) / 80)
        return mix(sky, (255, 220, 170), max(0.0, 1 - d / 260) * 0.6)
    depth = (y - horizon) / (H - horizon)
    ripple = 0.08 * math.sin(x / 9.0 + y / 3.0)
    return mix((230, 150, 110), (20, 50, 90), depth + ripple)


def hills(x, y):
    sky = mix((120, 180, 240), (220, 235, 250), y / H)
    for i, (base, amp, col) in enumerate([(330, 50, (90, 150, 80)), (400, 40, (60, 120, 60)), (470, 30, (40, 90, 45))]):
        top = base - amp * math.sin(x / (90.0 + 30 * i) + i * 2)
        if y > top:
            sky = mix(col, (col[0] // 2, col[1] // 2, col[2] // 2), (y - top) / 300)
    return sky


def night(x, y):
    c = mix((5, 10, 35), (40, 30, 80), y / H)
    h = (((x * 73856093) ^ (y * 19349663)) * 2654435761 >> 7) & 0xFFFF
    if h < 40:
        return (255, 255, 235)
    d = math.hypot(x - 200, y - 150)
    if d < 60 and math.hypot(x - 225, y - 135) > 55:
        return (245, 240, 210)
    if y > H - 80 - 30 * math.sin(x / 40.0):
        return (10, 12, 20)
    return c


def rings(x, y):
    d = math.hypot(x - W / 2, y - H / 2)
    a = math.atan2(y - H / 2, x - W / 2)
    t = 0.5 + 0.5 * math.sin(d / 18.0 + 3 * a)
    return mix((200, 60, 90), (250, 200, 60), t)


def winter(x, y):
    """Snowy hills under a grey-blue evening sky, with a row of dark firs."""
    c = mix((70, 90, 130), (190, 200, 215), y / (H * 0.6))
    for i, (base, amp, shade) in enumerate([(300, 40, (200, 210, 230)), (390, 30, (225, 232, 245)), (480, 20, (245, 248, 255))]):
        top = base - amp * math.sin(x / (110.0 + 40 * i) + i * 1.7)
        if y > top:
            c = mix(shade, (shade[0] - 40, shade[1] - 35, shade[2] - 20), (y - top) / 400)
        # Firs stand on the middle ridge: narrow triangles every 70 pixels.
        if i == 1:
            cx = (x // 70) * 70 + 35
            ridge = base - amp * math.sin(cx / (110.0 + 40 * i) + i * 1.7)
            height = 60 + 25 * math.sin(cx * 0.37)
            if ridge - height < y < ridge + 5 and abs(x - cx) < (y - (ridge - height)) * 0.28:
                c = (25, 45, 40)
    return c


def write_png(path, w, h, pixel):
    """An 8-bit RGBA PNG; pixel(x, y) gives (r, g, b, a)."""
    raw = b"".join(b"\0" + bytes(v for x in range(w) for v in pixel(x, y)) for y in range(h))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def gull(x, y):
    """A white gull seen from below, 64 x 32: two curved wings and a body,
    their edges fading out over a pixel and a half."""
    u, v = (x - 31.5) / 32.0, (y - 15.5) / 16.0
    wing = abs(v + 0.55 * (1 - abs(u)) ** 0.5 - 0.1) * 16 - 3.5 + 6 * max(0.0, abs(u) - 0.85)
    body = math.hypot(u * 5, v * 1.6) * 3.2 - 2.5
    edge = min(wing, body)
    a = int(max(0.0, min(1.0, 0.5 - edge / 1.5)) * 255)
    shade = 235 - int(40 * max(0.0, v))
    return (shade, shade, min(255, shade + 10), a)


def write_gif(path, w, h, palette, frames, delay):
    """A looping GIF of frames (lists of rows of palette indices). Its codes
    are written without compression: a clear code after every four pixels
    keeps the code width at its first size."""
    bits = max(2, (len(palette) - 1).bit_length())
    clear, end = 1 << bits, (1 << bits) + 1
    table = b"".join(bytes(c) for c in palette) + b"\0" * 3 * ((1 << bits) - len(palette))
    out = b"GIF89a" + struct.pack("<HHBBB", w, h, 0x80 | (bits - 1), 0, 0) + table
    out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    for rows in frames:
        codes = []
        pixels = [p for row in rows for p in row]
        for i in range(0, len(pixels), 4):
            codes += [clear] + pixels[i:i + 4]
        codes.append(end)
        acc, n, data = 0, 0, bytearray()
        for c in codes:
            acc |= c << n
            n += bits + 1
            while n >= 8:
                data.append(acc & 255)
                acc >>= 8
                n -= 8
        if n:
            data.append(acc)
        blocks = b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255] for i in range(0, len(data), 255))
        out += b"\x21\xf9\x04\x09" + struct.pack("<H", delay) + b"\x00\x00"  # cleared after it; index 0 transparent
        out += b"\x2c" + struct.pack("<HHHHB", 0, 0, w, h, 0) + bytes([bits]) + blocks + b"\x00"
    with open(path, "wb") as f:
        f.write(out + b"\x3b")


def fish_frames():
    """A golden fish 32 x 16 facing right whose tail swings through four frames."""
    frames = []
    for t in range(4):
        swing = [-3, 0, 3, 0][t]
        rows = []
        for y in range(16):
            row = []
            for x in range(32):
                u, v = (x - 18) / 12.0, (y - 7.5) / 6.0
                c = 0
                if u * u + v * v < 1:
                    c = 2 if (x + y) % 5 else 3
                    if x > 26 and y == 6:
                        c = 4
                elif x < 8 and abs(y - 7.5 - swing * (8 - x) / 8.0) < (8 - x) * 0.8:
                    c = 2
                row.append(c)
            rows.append(row)
        frames.append(rows)
    return frames


def main(out):
    os.makedirs(out, exist_ok=True)
    for name, fn in [("lake", lake), ("hills", hills), ("night", night), ("rings", rings), ("winter", winter)]:
        with open(os.path.join(out, name + ".ppm"), "wb") as f:
            f.write(b"P6 %d %d 255\n" % (W, H))
            f.write(bytes(v for y in range(H) for x in range(W) for v in fn(x, y)))
    write_png(os.path.join(out, "bird.png"), 64, 32, gull)
    write_gif(os.path.join(out, "fish.gif"), 32, 16, [(0, 0, 0), (0, 0, 0), (240, 170, 40), (200, 110, 20), (20, 20, 20)],
              fish_frames(), 12)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
