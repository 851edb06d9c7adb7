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

# Snow and the clock. A dark W x H picture (W a multiple of 4): a 24-bit BMP of zeros.
solid() {
  local out=$1 w=$2 h=$3
  le() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
  {
    printf "BM$(le $((54 + w * h * 3)))\x00\x00\x00\x00\x36\x00\x00\x00"
    printf "\x28\x00\x00\x00$(le "$w")$(le "$h")\x01\x00\x18\x00"
    printf "\x00\x00\x00\x00$(le $((w * h * 3)))\x13\x0b\x00\x00\x13\x0b\x00\x00"
    printf '\x00\x00\x00\x00\x00\x00\x00\x00'
    head -c $((w * h * 3)) /dev/zero
  } > "$out"
}
solid "$t/dark.bmp" 240 100
printf '[Picture]\nPicture=dark.bmp\n' > "$t/dark.ini"
printf '[Picture]\nPicture=dark.bmp\n[Weather]\nKind=1\nCount=80\nSpeedIndex=10\nLevel=10\n' > "$t/snow.ini"
"$kxtool" kxp-make "$t/dark.ini" -o "$t/dark.kxp"
"$kxtool" kxp-make "$t/snow.ini" -o "$t/snow.kxp"
same() { cmp -s "$1" "$2"; }
frame() { "$kxtool" frames "$1" -o "$t/$2" --frames 2 "${@:3}" && echo "$t/$2/frame-0002.png"; }
# The weather's random draws follow --seed; the flakes move from frame to frame.
a=$(frame "$t/snow.kxp" s1 --seed 9); b=$(frame "$t/snow.kxp" s2 --seed 9); c=$(frame "$t/snow.kxp" s3 --seed 10)
same "$a" "$b" || fail "seeded snow differs"
same "$a" "$c" && fail "snow ignores the seed"
same "$a" "$t/s1/frame-0001.png" && fail "snow does not move"
# The clock: its corner and the local time it shows.
none=$(frame "$t/dark.kxp" none); three=$(frame "$t/dark.kxp" three --clock 3 --time 03:00:00)
again=$(frame "$t/dark.kxp" again --clock 3 --time 03:00:00); later=$(frame "$t/dark.kxp" later --clock 3 --time 03:00:01)
corner=$(frame "$t/dark.kxp" corner --clock 0 --time 03:00:00); deflt=$(frame "$t/dark.kxp" deflt --clock 3 --time 10:08:30)
same "$none" "$three" && fail "no clock drawn"
same "$three" "$again" || fail "the same time draws differently"
same "$three" "$later" && fail "the second hand does not follow --time"
same "$three" "$corner" && fail "the corner makes no difference"
same "$deflt" "$(frame "$t/dark.kxp" deflt2 --clock 3)" || fail "--time does not default to 10:08:30"
for bad in "--time 24:00:00" "--time 10:60:00" "--time 1:2" "--time x" "--clock 4" "--clock -1"; do
  # shellcheck disable=SC2086
  if "$kxtool" frames "$t/dark.kxp" -o "$t/bad" $bad 2>/dev/null; then fail "accepted $bad"; fi
done

# kxtool show draws the clock as the project and the user settings file say.
mkdir -p "$t/p"
cp "$t/dark.kxp" "$t/p/"
project() { printf '[FileList]\ndark.kxp=1\n[Default]\nDuration=60\nShowClock=%s\nClockPos=%s\n' "$1" "$2" > "$t/p/project.ini"; }
show() {  # show SCR NAME [options]: the first frame of two seconds' show
  "$kxtool" show "$1" --screen 240x100 --seconds 1 -o "$t/$2" --seed 3 --every 1000 "${@:3}" > /dev/null
  echo "$t/$2/$(ls "$t/$2" | head -n1)"
}
project 1 2; "$kxtool" pack "$t/p" -o "$t/On.scr" --player "$kxtool"
project 0 2; "$kxtool" pack "$t/p" -o "$t/Off.scr" --player "$kxtool"
on=$(show "$t/On.scr" on); off=$(show "$t/Off.scr" off)
same "$on" "$off" && fail "ShowClock of the project ignored"
same "$on" "$(show "$t/On.scr" on2 --time 10:08:30)" || fail "show's --time does not default to 10:08:30"
same "$on" "$(show "$t/On.scr" on3 --time 04:00:00)" && fail "show ignores --time"
printf '[Setting]\nShowClock=0\nDirectX=0\n' > "$t/On.ini"
same "$off" "$(show "$t/On.scr" user-off)" || fail "the user's ShowClock=0 does not hide the clock"
printf '[Setting]\nShowClock=1\nClockPos=3\nDirectX=0\n' > "$t/Off.ini"
user=$(show "$t/Off.scr" user-on)
same "$user" "$off" && fail "the user's ShowClock=1 does not show the clock"
same "$user" "$on" && fail "the user's ClockPos ignored"
echo ok
