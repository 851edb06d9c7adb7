#!/usr/bin/env bash
# kxtool frames end to end: a picture file with one rippling area made by
# kxp-make, frames at its own size and fitted, repeatable with --seed.
set -euo pipefail
kxtool=$1
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

source "$(dirname "$0")/bmp.sh"

bmp "$t/picture.bmp" 102030 405060 708090 a0b0c0 c0a080 806040 204060 80a0c0
# The bottom row is area 1, the top row no area.
bmp "$t/areas.bmp" ff0000 ff0000 ff0000 ff0000 000000 000000 000000 000000
cat > "$t/picture.ini" <<'INI'
[Picture]
Picture=picture.bmp
RegionMap=areas.bmp
[Wave1]
Amplitude=1
Cycles=3
WaveSpeed=40
Horizontal=1
Jitter=2
INI
"$kxtool" kxp-make "$t/picture.ini" -o "$t/a.kxp"

"$kxtool" frames "$t/a.kxp" -o "$t/one" --frames 3 --seed 5
[ "$(ls "$t/one")" = "$(printf 'frame-0001.png\nframe-0002.png\nframe-0003.png')" ] || fail "frame names"
"$kxtool" frames "$t/a.kxp" -o "$t/two" --frames 3 --seed 5
for i in 1 2 3; do cmp -s "$t/one/frame-000$i.png" "$t/two/frame-000$i.png" || fail "seeded runs differ at $i"; done

"$kxtool" frames "$t/a.kxp" -o "$t/fit" --frames 1 --dt 50 --size 40x40 --proportional
"$kxtool" frames "$t/a.kxp" -o "$t/default"
[ "$(ls "$t/default" | wc -l)" = 10 ] || fail "default frame count"
# A PNG's width and height are the big-endian words at bytes 16 and 20.
size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'; }
[ "$(size "$t/fit/frame-0001.png")" = 40x20 ] || fail "proportional fit is $(size "$t/fit/frame-0001.png")"
[ "$(size "$t/one/frame-0001.png")" = 4x2 ] || fail "stored size"

if "$kxtool" frames "$t/picture.ini" -o "$t/bad" 2>"$t/err"; then fail "a file that is not a picture file was accepted"; fi
[ -s "$t/err" ] || fail "no message for a bad file"
[ ! -e "$t/bad" ] || fail "frames written for a bad file"
for bad in "--frames -1" "--size 0x5" "--size 40" "--seed x" "--proportional"; do
  # shellcheck disable=SC2086
  if "$kxtool" frames "$t/a.kxp" -o "$t/bad" $bad 2>/dev/null; then fail "accepted $bad"; fi
done
echo ok
