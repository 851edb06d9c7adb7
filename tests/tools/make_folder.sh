#!/usr/bin/env bash
# kxtool make turns a plain folder of mixed files into a screensaver: the
# pictures (JPEG, PNG, a picture file) in name order, the music, the folder's
# name, a preview picture; files that cannot be read are named and skipped,
# other files left out. The options change what they say; a folder without
# pictures, or a bad option, is an error that leaves no file. On a virtual X
# screen /C of the package shows the generic window with the pictures'
# thumbnails, its Settings button opens the settings dialog, Wallpaper sets
# the current picture, and Close writes the ticks to the settings file.
set -euo pipefail
kxtool=$1
player=$2
demo=$3
t=$(mktemp -d)
xvfb_pid=
config=
trap '[ -n "$config" ] && kill "$config" 2> /dev/null; [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null; rm -rf "$t"' EXIT
source "$(dirname "$0")/xvfb.sh"
command -v convert > /dev/null || exit 77

photos="$t/My Photos"
mkdir -p "$photos/trip" "$t/bin" "$t/tmp"
convert -size 64x48 xc:red "$photos/01 red.jpg"
convert -size 48x64 xc:lime "$photos/02 green.png"
cp "$demo/lake.kxp" "$photos/03 lake.kxp"
cp "$demo/music1.ogg" "$photos/song.ogg"
echo "a note" > "$photos/notes.txt"
ln -s "$t/nowhere.jpg" "$photos/00 broken.jpg"
mkfifo "$photos/00 pipe.png"
convert -size 64x48 xc:blue "$photos/trip/01 red.jpg"

make_ok() { "$kxtool" make "$@" --player "$player" > "$t/out" 2> "$t/err" || fail "make $*: $(cat "$t/err")"; }
project() { TMPDIR="$t/tmp" "$kxtool" project "$1" | sed "s|^/.*/||; s|=/.*/|=|" > "$t/project"; }
has() {
  for line in "$@"; do grep -qxF -- "$line" "$t/project" || fail "no line '$line' in: $(cat "$t/project")"; done
}

make_ok "$photos" -o "$t/bin/Photos.scr"
[ -x "$t/bin/Photos.scr" ] || fail "the screensaver is not runnable"
grep -qxF "$t/bin/Photos.scr: 3 pictures, 1 music file" "$t/out" || fail "summary: $(cat "$t/out")"
for f in "00 broken.jpg" "00 pipe.png"; do
  grep -qF "skipped $photos/$f: it cannot be read" "$t/err" || fail "$f not reported: $(cat "$t/err")"
done
[ "$(wc -l < "$t/err")" -eq 2 ] || fail "more reported than the unreadable files: $(cat "$t/err")"
project "$t/bin/Photos.scr"
[ "$(sed -n '/^\[FileList\]/,/^$/p' "$t/project" | grep -c =)" -eq 3 ] || fail "pictures: $(cat "$t/project")"
[ "$(sed -n 2,4p "$t/project" | tr '\n' '|')" = "01 red.jpg=TRUE|02 green.png=TRUE|03 lake.kxp=TRUE|" ] ||
  fail "pictures in order: $(cat "$t/project")"
has "ProductName=My Photos" "Publisher=" "MusicFile=song.ogg" "Music=1" "PreviewFile=Preview.jpg" \
    "Stretch=1" "Proportional=1" "Random=1" "Duration=10" "TransitionTime=2000" "UIFile=KXGUI.kxu"
"$kxtool" unpack "$t/bin/Photos.scr" "$t/un"
cmp -s "$t/un/03 lake.kxp" "$demo/lake.kxp" && cmp -s "$t/un/song.ogg" "$demo/music1.ogg" ||
  fail "packaged bytes differ"
[ "$(identify -format '%m %wx%h' "$t/un/Preview.jpg")" = "JPEG 320x240" ] || fail "preview picture"
[ -z "$(ls -A "$t/tmp")" ] || fail "work folder left behind"

# The options, each made and read back: arguments, then the lines it gives.
while IFS='|' read -r options lines; do
  read -r -a opts <<< "$options"
  make_ok "$photos" -o "$t/bin/Opt.scr" "${opts[@]//\~/ }"
  project "$t/bin/Opt.scr"
  read -r -a want <<< "$lines"
  has "${want[@]//\~/ }"
done << 'TABLE'
--name Holiday|ProductName=Holiday
--name Holiday --publisher Ann~Smith|ProductName=Holiday Publisher=Ann~Smith
--duration 7 --transition-time 900|Duration=7 TransitionTime=900
--random 0|Random=0
--random 1 --duration 999 --transition-time 0|Random=1 Duration=999 TransitionTime=0
--recursive|01~red.jpg=TRUE 02~green.png=TRUE 03~lake.kxp=TRUE trip_01~red.jpg=TRUE
TABLE
# Under --recursive the subfolder's picture comes last: "trip/" sorts after the files.
[ "$(sed -n 5p "$t/project")" = "trip_01 red.jpg=TRUE" ] || fail "recursive order: $(head -6 "$t/project")"
# Wrong options and a folder without pictures: status 1, a message, no file.
mkdir "$t/empty" && echo "not a picture" > "$t/empty/readme.txt"
while IFS='|' read -r folder options message; do
  read -r -a opts <<< "$options"
  status=0
  "$kxtool" make "$folder" "${opts[@]}" -o "$t/bin/Bad.scr" --player "$player" > /dev/null 2> "$t/err" || status=$?
  [ "$status" -eq 1 ] || fail "make $folder $options: status $status"
  grep -qF -- "$message" "$t/err" || fail "make $folder $options: $(cat "$t/err")"
done << TABLE
$t/empty||no pictures in $t/empty/ (pictures are JPEG, PNG, BMP, GIF and .kxp files; --recursive also looks
$t/empty|--recursive|no pictures in $t/empty/ (pictures are JPEG, PNG, BMP, GIF and .kxp files)
$t/missing||cannot open the folder $t/missing/
$photos|--duration 0|--duration takes whole seconds from 1 to 999, not '0'
$photos|--duration 1000|--duration takes whole seconds from 1 to 999
$photos|--transition-time -1|--transition-time takes milliseconds from 0 to 60000
$photos|--random 2|--random takes the values from 0 to 1, not '2'
$photos|--shuffle|unexpected argument --shuffle
TABLE
[ "$(ls -A "$t/bin")" = "$(printf 'Opt.scr\nPhotos.scr')" ] || fail "files beside the outputs: $(ls -A "$t/bin")"

command -v Xvfb > /dev/null && command -v xdotool > /dev/null && command -v xwd > /dev/null || {
  echo "no Xvfb: the window part skipped"
  exit 77
}
start_xvfb 800x600 -noreset
TMPDIR="$t/tmp" "$kxtool" window "$t/bin/Photos.scr" MainWindow -o "$t/window.png"
TMPDIR="$t/tmp" "$kxtool" dialog "$t/bin/Photos.scr" -o "$t/dialog.png"
TMPDIR="$t/tmp" "$t/bin/Photos.scr" /C &
config=$!
wait_for_screen "$config" "$t/window.png" 640x480+80+60
# The thumbnails: red, green and the lake's own, in the first row of the
# grid (cells 94 x 106 from 26, 120 in the window).
# pixel X Y [FILE]: "r,g,b" of the screen shot or FILE; near A B: within 8 in each.
pixel() {
  local at="p{$1,$2}"
  convert "${3:-$t/shot.png}" -format "%[fx:int(255*$at.r)],%[fx:int(255*$at.g)],%[fx:int(255*$at.b)]" info:
}
near() { awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, ","); split(b, y, ",");
  for (i = 1; i <= 3; i++) if (x[i] - y[i] > 8 || y[i] - x[i] > 8) exit 1 }'; }
near "$(pixel 73 160)" 254,0,0 || fail "the first thumbnail is $(pixel 73 160), not red"
near "$(pixel 167 160)" 0,255,1 || fail "the second thumbnail is $(pixel 167 160), not green"
lake=$(pixel 261 160)
! near "$lake" 30,44,72 && ! near "$lake" 0,0,0 || fail "no thumbnail of the picture file: $lake"
# Settings opens the settings dialog (364 x 324, centred); Escape closes it.
xdotool mousemove $((80 + 202)) $((60 + 393)) click 1
wait_for_screen "$config" "$t/dialog.png" 364x324+218+138
xdotool key Escape
wait_for_screen "$config" "$t/window.png" 640x480+80+60
# Wallpaper, answered Yes: the current picture, red, beside the program.
xdotool mousemove $((80 + 320)) $((60 + 393)) click 1
sleep 1
xdotool key Return
for _ in $(seq 40); do [ -s "$t/bin/Photos.scr.bmp" ] && break; sleep 0.25; done
near "$(pixel 5 5 "$t/bin/Photos.scr.bmp")" 254,0,0 || fail "the wallpaper is not the red picture"
# Untick the green picture (its check box 13, 62 into its cell, which also
# makes it the current one), then Close.
xdotool mousemove $((80 + 26 + 94 + 13 + 5)) $((60 + 120 + 62 + 5)) click 1
sleep 0.3
xdotool mousemove $((80 + 556)) $((60 + 393)) click 1
status=0
wait "$config" || status=$?
config=
[ "$status" -eq 0 ] || fail "exit status $status"
ini=$(tr -d '\r' < "$t/bin/Photos.ini")
grep -qx 'Index=1' <<< "$ini" || fail "Index not written: $ini"
[ "$(sed -n '/^\[Files\]/,/^\[/p' <<< "$ini" | grep '=' | tr '\n' ' ')" = "1= " ] || fail "ticks: $ini"
[ -z "$(ls -A "$t/tmp")" ] || fail "work folder left behind"
echo "kxtool make: ok"
