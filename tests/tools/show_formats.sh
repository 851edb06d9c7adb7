#!/usr/bin/env bash
# kxtool show plays WebP, AVIF and HEIC pictures as still pictures: a 32 x 16
# picture, red on the left and blue on the right, encoded by Debian's cwebp
# and heif-enc, shows 32 wide and 16 tall with red on the left; a HEIC whose
# file turns it a quarter clockwise (its "irot" property) shows 16 wide and
# 32 tall, red at the top. An encoder that is missing skips its case; with
# every one missing the test is skipped.
set -euo pipefail
tests_tools=$(cd "$(dirname "$0")" && pwd)
kxtool=$1
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$t"

PYTHONPATH="$tests_tools" python3 - <<'PY'
import struct, zlib
w, h = 32, 16
raw = b''.join(b'\0' + b''.join(bytes((220, 30, 30) if x < 16 else (30, 40, 220)) for x in range(w)) for y in range(h))
chunk = lambda t, d: struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d))
open('wide.png', 'wb').write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
                             + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))
PY

# The primary picture of a HEIF file given an "irot" property (anticlockwise
# quarter turns): added to "ipco", associated with the primary item in
# "ipma", the boxes around them grown and the file offsets of "iloc" moved.
turn_heif() {
  PYTHONPATH="$tests_tools" python3 - "$1" "$2" "$3" <<'PY'
import sys
src, dst, turns = sys.argv[1], sys.argv[2], int(sys.argv[3])
s = bytearray(open(src, 'rb').read())
get = lambda a, n: int.from_bytes(s[a:a + n], 'big')
def put(a, v, n): s[a:a + n] = v.to_bytes(n, 'big')
def find(a, end, t):
    while a + 8 <= end:
        if s[a + 4:a + 8] == t: return a
        a += get(a, 4)
    sys.exit('no ' + t.decode())
meta = find(0, len(s), b'meta'); end = meta + get(meta, 4)
pitm, iprp, iloc = find(meta + 12, end, b'pitm'), find(meta + 12, end, b'iprp'), find(meta + 12, end, b'iloc')
ipco, ipma = find(iprp + 8, iprp + get(iprp, 4), b'ipco'), find(iprp + 8, iprp + get(iprp, 4), b'ipma')
if s[pitm + 8] or s[ipma + 8] or get(ipma + 8, 4) & 1 or s[iloc + 8] > 1: sys.exit('unexpected box versions')
primary, count, a = get(pitm + 12, 2), 0, ipco + 8
while a < ipco + get(ipco, 4): count, a = count + 1, a + get(a, 4)
prop, link = b'\0\0\0\x09irot' + bytes([turns]), bytes([0x80 | (count + 1)])
grown, v = len(prop) + len(link), s[iloc + 8]
osz, lsz, bsz, isz = s[iloc + 12] >> 4, s[iloc + 12] & 15, s[iloc + 13] >> 4, (s[iloc + 13] & 15) if v else 0
a, items = iloc + 16, get(iloc + 14, 2)
for _ in range(items):
    a += 2
    method = get(a, 2) & 15 if v else 0
    a += 4 if v else 2
    base, extents = a, get(a + bsz, 2)
    a += bsz + 2
    if method == 0 and bsz: put(base, get(base, bsz) + grown, bsz)
    for _ in range(extents):
        a += isz
        if method == 0 and not bsz: put(a, get(a, osz) + grown, osz)
        a += osz + lsz
a = ipma + 16
for _ in range(get(ipma + 12, 4)):
    n = s[a + 2]
    if get(a, 2) == primary:
        s[a + 2] = n + 1
        s[a + 3 + n:a + 3 + n] = link
        break
    a += 3 + n
put(ipma, get(ipma, 4) + len(link), 4)
s[ipco + get(ipco, 4):ipco + get(ipco, 4)] = prop
put(ipco, get(ipco, 4) + len(prop), 4)
for box in (iprp, meta): put(box, get(box, 4) + grown, 4)
open(dst, 'wb').write(s)
PY
}

# name, expected shape, encoder command (the picture lands in name).
cases=0
show_case() {
  local name=$1 shape=$2
  shift 2
  if ! command -v "$1" > /dev/null; then
    echo "skipped $name: $1 is not installed"
    return
  fi
  "$@" > /dev/null 2>&1 || fail "$1 failed for $name"
  if [ "$name" = turned.heic ]; then
    turn_heif plain.heic turned.heic 3
  fi
  cases=$((cases + 1))
  rm -rf p out
  mkdir p
  cp "$name" p/
  printf '[FileList]\n%s=1\n[Default]\nDuration=5\nShowImageMode=1\nTransition=0\nStretch=0\n' "$name" > p/project.ini
  "$kxtool" pack p -o Show.scr --player "$kxtool"
  "$kxtool" show Show.scr --screen 48x48 --seconds 1 -o out --seed 1 > events.txt 2> errors.txt \
    || fail "$name: the show failed: $(cat errors.txt)"
  [ ! -s errors.txt ] || fail "$name: errors: $(cat errors.txt)"
  grep -Eq "^0 picture 0 .*/${name//./\\.}\$" events.txt || fail "$name: picture: $(cat events.txt)"
  local last
  last=$(ls out/frame-*.png | tail -n 1)
  # The picture's box on the black screen and the colours at its two ends.
  PYTHONPATH="$tests_tools" python3 - "$last" "$shape" <<'PY' || fail "$name does not show $shape in $last"
import sys
from png_rows import read_png
w, h, depth, colour, bpp, lines = read_png(sys.argv[1])
rows = [[tuple(line[x * bpp:x * bpp + 3]) for x in range(w)] for line in lines]
lit = [(x, y) for y in range(h) for x in range(w) if max(rows[y][x]) > 60]
xs, ys = [x for x, _ in lit], [y for _, y in lit]
box = (min(xs), min(ys), max(xs) + 1, max(ys) + 1)
bw, bh = box[2] - box[0], box[3] - box[1]
cx, cy = (box[0] + box[2]) // 2, (box[1] + box[3]) // 2
if sys.argv[2] == 'wide':
    first, second, ok = rows[cy][box[0] + bw // 4], rows[cy][box[0] + 3 * bw // 4], bw == 2 * bh
else:
    first, second, ok = rows[box[1] + bh // 4][cx], rows[box[1] + 3 * bh // 4][cx], bh == 2 * bw
print('box', box, 'first', first, 'second', second)
red = lambda p: p[0] > 150 and p[2] < 90
blue = lambda p: p[2] > 150 and p[0] < 90
sys.exit(0 if ok and red(first) and blue(second) else 1)
PY
}

show_case plain.webp wide cwebp -q 90 wide.png -o plain.webp
show_case plain.avif wide heif-enc -A -q 90 wide.png -o plain.avif
show_case turned.heic tall heif-enc -q 90 wide.png -o plain.heic
[ "$cases" -gt 0 ] || { echo "skipped: no encoder installed"; exit 77; }
echo ok
