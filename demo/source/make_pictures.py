#!/usr/bin/env python3
"""Draws the demo project's pictures as PPM files (standard library only).

Each scene is a few gradients and shapes computed per pixel; convert the
results to JPEG with cjpeg (libjpeg-turbo-progs):
    python3 make_pictures.py OUTDIR && for f in OUTDIR/*.ppm; do cjpeg -quality 88 "$f" > "${f%.ppm}.jpg"; done
"""
import math
import os
import sys

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


def main(out):
    os.makedirs(out, exist_ok=True)
    for name, fn in [("lake", lake), ("hills", hills), ("night", night), ("rings", rings), ("winter", winter)]:
        with open(os.path.join(out, name + ".ppm"), "wb") as f:
            f.write(b"P6 %d %d 255\n" % (W, H))
            f.write(bytes(v for y in range(H) for x in range(W) for v in fn(x, y)))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
