#!/usr/bin/env bash
# Makes picture files with kxtool kxp-make, prints them back with kxp-info,
# and carries a region map through regionmap and a second kxp-make.
set -euo pipefail
kxtool=$1
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

source "$(dirname "$0")/bmp.sh"

mkdir "$t/in"
bmp "$t/in/picture.bmp" 00a000 00a000 00a000 00a000 00a000 00a000 00a000 00a000
# top row: area 1, area 1, area 2, none; bottom row: area 3, area 3, area 4, area 6
bmp "$t/in/areas.bmp" 0000ff 0000ff 00ffff ffff00 ff0000 ff0000 ff00ff 123456
printf '[Obj0]\r\nObjType=IMG\\x\r\n' > "$t/in/objects.ini"
cat > "$t/in/picture.ini" <<'INI'
[Picture]
Title=Lake
Description=Evening
Picture=picture.bmp
RegionMap=areas.bmp
SoundFile=wind.wav
Objects=objects.ini
Extra=[BuildScr],Filename=x.scr,Music=1,[BuildExe],Sound=0
[Wave2]
Amplitude=9
Reflect=1
Horizontal=5
[Wave6]
Cycles=3
[Weather]
Kind=1
Count=200
[Sound1]
Path=a.wav
PlayMode=2
MinSeconds=4
INI

"$kxtool" kxp-make "$t/in/picture.ini" -o "$t/a.kxp"
"$kxtool" kxp-info "$t/a.kxp" > "$t/a.txt"

wave() {  # amplitude cycles horizontal reflect
  printf '[Wave%s]\nAmplitude=%s\nCycles=%s\nWaveSpeed=15\nDirection=1\nHorizontal=%s\nVertical=1\nPerspective=1\nPeriod=360\nJitter=0\nReflect=%s\n\n' "$@"
}
sound() {  # index "path|mode|min"
  local path mode min
  IFS='|' read -r path mode min <<< "$2"
  printf '\n[Sound%s]\nPath=%s\nPlayMode=%s\nMinSeconds=%s\nMaxSeconds=0\n' "$1" "$path" "$mode" "$min"
}
expected() {  # objects-text used sound1 sound2 wave6-cycles extra...
  printf '[Picture]\nTitle=Lake\nDescription=Evening\nPicture=4x2\nThumbnail=120x90\nRegionMap=4x2\nDesign=4x2\n\n'
  wave 1 6 17 0 0; wave 2 9 17 1 1; wave 3 6 17 0 0; wave 4 6 17 0 0
  wave 5 6 17 0 0; wave 6 6 "$5" 0 0; wave 7 6 17 0 0
  printf '[Wave8]\nAmplitude=6\nCycles=17\nWaveSpeed=15\nDirection=1\nHorizontal=0\nVertical=1\nPerspective=1\nPeriod=360\nJitter=0\nReflect=0\n'
  printf '\n[Weather]\nKind=1\nCount=200\nSpeedIndex=0\nAngle=0\nLength=0\nLevel=9\n'
  printf '\n[Sounds]\nUsed=%s\n' "$2"
  sound 1 "$3"; sound 2 "$4"
  for i in 3 4 5 6 7 8; do sound $i "|0|0"; done
  printf '\n[Objects]\nText=%s\n' "$1"
  printf '\n[Extra]\nScrFileName=%s\nScrMusicFile=\nScrMusic=%s\nScrSound=1\nExeFileName=\nExeMusicFile=\nExeMusic=0\nExeSound=%s\n' "$6" "$7" "$8"
}
expected '[Obj0]\r\nObjType=IMG\\x\r\n' 2 "a.wav|2|4" "wind.wav|0|0" 3 x.scr 1 0 > "$t/a.want"
diff -u "$t/a.want" "$t/a.txt" || fail "kxp-info of the full file"

# The decoded region map as PNG, and a second file made from that PNG without
# the optional tail: same map, no sound records, objects or further waves.
"$kxtool" regionmap "$t/a.kxp" "$t/map.png"
sed -e 's/^RegionMap=.*/RegionMap=..\/map.png/' -e '/^Objects=/d' -e '/^Extra=/d' "$t/in/picture.ini" > "$t/in/picture2.ini"
sed -i 's/^\[Wave2\]/Tail=none\n[Wave2]/' "$t/in/picture2.ini"
"$kxtool" kxp-make "$t/in/picture2.ini" -o "$t/b.kxp"
"$kxtool" kxp-info "$t/b.kxp" > "$t/b.txt"
expected '' 1 "wind.wav|0|0" "|0|0" 17 "" 0 1 > "$t/b.want"
diff -u "$t/b.want" "$t/b.txt" || fail "kxp-info of the file without a tail"
"$kxtool" regionmap "$t/b.kxp" "$t/map2.png"
cmp -s "$t/map.png" "$t/map2.png" || fail "region map changed on its way through PNG"

# A file that does not load: the loader's message and status 1.
printf 'KX060698' > "$t/bad.kxp"
if "$kxtool" kxp-info "$t/bad.kxp" > /dev/null 2> "$t/err"; then fail "bad file loaded"; fi
[ "$(cat "$t/err")" = "Incorrect Project File!" ] || fail "message: $(cat "$t/err")"
echo OK
