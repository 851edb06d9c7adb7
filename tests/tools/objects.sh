#!/usr/bin/env bash
# Animated objects end to end: a picture file with a still object (a BMP
# whose bottom-left colour is transparent) and an animated GIF, printed by
# kxtool objects, drawn by kxtool frames and by the headless show.
set -euo pipefail
kxtool=$1
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$t"  # relative object paths must not resolve by accident

source "$(dirname "$0")/bmp.sh"

# A dark 40 x 20 picture: a 24-bit BMP of zeros.
le() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
{
  printf "BM$(le $((54 + 40 * 20 * 3)))\x00\x00\x00\x00\x36\x00\x00\x00"
  printf "\x28\x00\x00\x00$(le 40)$(le 20)\x01\x00\x18\x00"
  printf "\x00\x00\x00\x00$(le $((40 * 20 * 3)))\x13\x0b\x00\x00\x13\x0b\x00\x00"
  printf '\x00\x00\x00\x00\x00\x00\x00\x00'
  head -c $((40 * 20 * 3)) /dev/zero
} > dark.bmp
mkdir pics
# The still object: white with a green bottom-left pixel (the colour key).
bmp pics/star.bmp 00ff00 ffffff ffffff ffffff ffffff ffffff ffffff ffffff
# The GIF object: 4 x 4, red for 10 hundredths, then blue for 10.
printf '\x47\x49\x46\x38\x39\x61\x04\x00\x04\x00\xf1\x00\x00\x00\x00\x00\xff\x00\x00\x00\x00\xff\xff\xff\xff\x21\xf9\x04\x00\x0a\x00\xff\x00\x2c\x00\x00\x00\x00\x04\x00\x04\x00\x00\x02\x04\x8c\x8f\x19\x05\x00\x21\xf9\x04\x00\x0a\x00\xff\x00\x2c\x00\x00\x00\x00\x04\x00\x04\x00\x00\x02\x04\x94\x8f\x29\x05\x00\x3b' > pics/fish.gif
printf '[Obj0]\r\nObjType=IMG\r\nFilename=C:\\Authoring\\star.bmp\r\nPosLeft=8\r\nPosTop=6\r\n' > objects.ini
printf '[Obj1]\r\nObjType=GIF\r\nFilename=fish.gif\r\nMotion=2\r\nMotionSpeed=30\r\nPosLeft=30\r\nPosTop=10\r\n' >> objects.ini
printf '[Obj2]\r\nObjType=gif\r\n' >> objects.ini
printf '[Picture]\nPicture=dark.bmp\nObjects=objects.ini\n' > a.ini
"$kxtool" kxp-make a.ini -o a.kxp

# kxtool objects: every object's settings text before it starts.
"$kxtool" objects a.kxp | tr -d '\r' > objects.txt
[ "$(grep -c '^# object' objects.txt)" = 2 ] || fail "object count"
grep -qx '# object 0 IMG' objects.txt || fail "first object"
grep -qx '# object 1 GIF' objects.txt || fail "second object"
grep -qx '\[Obj1\]' objects.txt || fail "section of the second object"
grep -qx 'Filename=C:\\Authoring\\star.bmp' objects.txt || fail "stored file name"
grep -qx 'OffScreenOpt=TBLR' objects.txt || fail "default edges"
[ "$(sed -n 2,4p objects.txt | tr '\n' ' ')" = "[Obj0] Left=0 Top=0 " ] || fail "key order: $(sed -n 2,4p objects.txt)"
if "$kxtool" objects a.ini 2> err.txt; then fail "a file that is not a picture file was accepted"; fi
[ -s err.txt ] || fail "no message for a bad file"

# kxtool frames: the objects draw once their pictures are found.
"$kxtool" frames a.kxp -o none --frames 6 --dt 40 --seed 4
"$kxtool" frames a.kxp -o one --frames 6 --dt 40 --seed 4 --objects-dir pics
"$kxtool" frames a.kxp -o two --frames 6 --dt 40 --seed 4 --objects-dir pics/
"$kxtool" frames a.kxp -o three --frames 6 --dt 40 --seed 5 --objects-dir pics
for i in 1 6; do
  cmp -s one/frame-000$i.png two/frame-000$i.png || fail "seeded runs differ at frame $i"
  cmp -s one/frame-000$i.png none/frame-000$i.png && fail "no object drawn in frame $i"
done
cmp -s none/frame-0001.png none/frame-0006.png || fail "without objects the dark picture changes"
cmp -s one/frame-0006.png three/frame-0006.png && fail "the objects ignore --seed"
cmp -s one/frame-0001.png one/frame-0006.png && fail "the objects stand still"

# kxtool show plays the picture file with its objects, found in the package.
mkdir p q
cp a.kxp pics/star.bmp pics/fish.gif p/
cp a.kxp q/
printf '[FileList]\na.kxp=1\n[Default]\nDuration=60\n[Package]\nstar.bmp=1\nfish.gif=1\n' > p/project.ini
printf '[FileList]\na.kxp=1\n[Default]\nDuration=60\n' > q/project.ini
"$kxtool" pack p -o P.scr --player "$kxtool"
"$kxtool" pack q -o Q.scr --player "$kxtool"
"$kxtool" show P.scr --screen 40x20 --seconds 1 -o ps --seed 3 --every 1000 > /dev/null
"$kxtool" show Q.scr --screen 40x20 --seconds 1 -o qs --seed 3 --every 1000 > /dev/null
cmp -s "ps/$(ls ps | head -n1)" "qs/$(ls qs | head -n1)" && fail "the show draws no objects"
echo ok
