#!/usr/bin/env bash
# kxtool show turns a photo upright by its Exif orientation: a 32 x 16 JPEG,
# red on the left and blue on the right, stored by a camera turned a quarter
# anticlockwise (orientation 6), shows 16 wide and 32 tall, red at the top.
set -euo pipefail
tests_tools=$(cd "$(dirname "$0")" && pwd)
kxtool=$1
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$t"

echo '/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAMCAgMCAgMDAwMEAwMEBQgFBQQEBQoHBwYIDAoMDAsKCwsNDhIQDQ4RDgsLEBYQERMUFRUVDA8XGBYUGBIUFRT/2wBDAQMEBAUEBQkFBQkUDQsNFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBT/wAARCAAQACADASIAAhEBAxEB/8QAHwAAAQUBAQEBAQEAAAAAAAAAAAECAwQFBgcICQoL/8QAtRAAAgEDAwIEAwUFBAQAAAF9AQIDAAQRBRIhMUEGE1FhByJxFDKBkaEII0KxwRVS0fAkM2JyggkKFhcYGRolJicoKSo0NTY3ODk6Q0RFRkdISUpTVFVWV1hZWmNkZWZnaGlqc3R1dnd4eXqDhIWGh4iJipKTlJWWl5iZmqKjpKWmp6ipqrKztLW2t7i5usLDxMXGx8jJytLT1NXW19jZ2uHi4+Tl5ufo6erx8vP09fb3+Pn6/8QAHwEAAwEBAQEBAQEBAQAAAAAAAAECAwQFBgcICQoL/8QAtREAAgECBAQDBAcFBAQAAQJ3AAECAxEEBSExBhJBUQdhcRMiMoEIFEKRobHBCSMzUvAVYnLRChYkNOEl8RcYGRomJygpKjU2Nzg5OkNERUZHSElKU1RVVldYWVpjZGVmZ2hpanN0dXZ3eHl6goOEhYaHiImKkpOUlZaXmJmaoqOkpaanqKmqsrO0tba3uLm6wsPExcbHyMnK0tPU1dbX2Nna4uPk5ebn6Onq8vP09fb3+Pn6/9oADAMBAAIRAxEAPwDweiiivyI/0YPF6KKK/wBdT/Lo/9k=' | base64 -d > plain.jpg
# An APP1 segment: "Exif\0\0", a big-endian TIFF header, one IFD with the
# Orientation tag (0x0112, one SHORT) of value 6; spliced in after SOI.
mkdir p
{
  head -c 2 plain.jpg
  printf '\xFF\xE1\x00\x22Exif\x00\x00MM\x00\x2A\x00\x00\x00\x08'
  printf '\x00\x01\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00\x00\x00\x00\x00'
  tail -c +3 plain.jpg
} > p/turned.jpg
printf '[FileList]\nturned.jpg=1\n[Default]\nDuration=5\nShowImageMode=1\nTransition=0\nStretch=0\n' > p/project.ini
"$kxtool" pack p -o Show.scr --player "$kxtool"
"$kxtool" show Show.scr --screen 48x48 --seconds 1 -o out --seed 1 > events.txt 2> errors.txt \
  || fail "the show failed: $(cat errors.txt)"
[ ! -s errors.txt ] || fail "errors: $(cat errors.txt)"
grep -Eq '^0 picture 0 .*/turned\.jpg$' events.txt || fail "picture: $(cat events.txt)"
last=$(ls out/frame-*.png | tail -n 1)

# The picture's box on the black screen and the colours at its top and bottom.
PYTHONPATH="$tests_tools" python3 - "$last" <<'PY' || fail "the photo is not upright in $last"
import sys
from png_rows import read_png
w, h, depth, colour, bpp, lines = read_png(sys.argv[1])
rows = [[tuple(line[x * bpp:x * bpp + 3]) for x in range(w)] for line in lines]
lit = [(x, y) for y in range(h) for x in range(w) if max(rows[y][x]) > 60]
xs, ys = [x for x, _ in lit], [y for _, y in lit]
box = (min(xs), min(ys), max(xs) + 1, max(ys) + 1)
bw, bh = box[2] - box[0], box[3] - box[1]
cx = (box[0] + box[2]) // 2
top, bottom = rows[box[1] + bh // 4][cx], rows[box[1] + 3 * bh // 4][cx]
print('box', box, 'top', top, 'bottom', bottom)
red = lambda p: p[0] > 150 and p[2] < 90
blue = lambda p: p[2] > 150 and p[0] < 90
sys.exit(0 if bh == 2 * bw and red(top) and blue(bottom) else 1)
PY
echo ok
