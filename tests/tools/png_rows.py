"""The rows of an 8-bit RGB or RGBA PNG as the end-to-end tests read them,
without an imaging library: read_png(path) -> (width, height, depth, colour
type, bytes per pixel, rows of raw pixel bytes)."""
import struct
import zlib


def read_png(path):
    data = open(path, 'rb').read()
    pos, idat = 8, b''
    while pos < len(data):
        n, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        if kind == b'IHDR':
            w, h, depth, colour = struct.unpack('>IIBB', body[:10])
        if kind == b'IDAT':
            idat += body
        pos += 12 + n
    bpp = {2: 3, 6: 4}[colour]
    stride = w * bpp
    raw, rows, prev = zlib.decompress(idat), [], bytearray(stride)
    for y in range(h):
        f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(len(line)):
            a = line[i - bpp] if i >= bpp else 0
            b, c = prev[i], prev[i - bpp] if i >= bpp else 0
            p = a + b - c
            pred = [0, a, b, (a + b) // 2,
                    a if abs(p - a) <= abs(p - b) and abs(p - a) <= abs(p - c) else b if abs(p - b) <= abs(p - c) else c][f]
            line[i] = (line[i] + pred) & 255
        rows.append(line)
        prev = line
    return w, h, depth, colour, bpp, rows
