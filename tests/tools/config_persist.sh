#!/usr/bin/env bash
# The configuration window keeps the user's choices: /C on a packed project
# of ten pictures with a settings file that stores Index 3 and the unticked
# pictures 1 and 4 opens as kxtool window draws it from that file; unticking
# the current picture, clicking "next" and closing writes Index 4 and the
# unticked pictures 1, 3 and 4, keeping the file's other keys.
set -euo pipefail
kxtool=$1
player=$2
demo=$3
command -v Xvfb > /dev/null && command -v xdotool > /dev/null && command -v xwd > /dev/null &&
  command -v convert > /dev/null || exit 77
t=$(mktemp -d)
xvfb_pid=
config=
trap '[ -n "$config" ] && kill "$config" 2> /dev/null; [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null; rm -rf "$t"' EXIT
source "$(dirname "$0")/xvfb.sh"

mkdir "$t/tmp" "$t/bin" "$t/project"
colours=(red orange yellow green cyan blue purple pink brown gray)
{
  printf '[FileList]\r\n'
  for i in $(seq 0 9); do
    convert -size 64x48 "xc:${colours[$i]}" "$t/project/p$i.jpg"
    printf 'p%d.jpg=1\r\n' "$i"
  done
  printf '[General]\r\nProductName=Ten\r\n'
} > "$t/project/project.ini"
cp "$demo/KXGUI.kxu" "$t/project/"
"$kxtool" pack "$t/project" -o "$t/bin/Ten.scr" --player "$player" > /dev/null
printf '[Setting]\r\nDuration=7\r\nIndex=3\r\n\r\n[Files]\r\n1=\r\n4=\r\n' > "$t/bin/Ten.ini"
cp "$t/bin/Ten.ini" "$t/stored.ini"
start_xvfb 800x600 -noreset

TMPDIR="$t/tmp" "$kxtool" window "$t/bin/Ten.scr" MainWindow -o "$t/expected.png" --settings "$t/stored.ini"
cmp -s "$t/bin/Ten.ini" "$t/stored.ini" || fail "kxtool window changed the settings file"

TMPDIR="$t/tmp" "$t/bin/Ten.scr" /C &
config=$!
wait_for_screen "$config" "$t/expected.png" 640x480+80+60
# The selected cell is picture 3's (column 0, row 1 of the 3-column grid at
# 24, 118, cells 94 x 106): its title is on the highlight colour, navy in
# the classic scheme; picture 0's is not.
hl=$(convert "$t/shot.png" -format '%[pixel:p{76,318}]' info:)
other=$(convert "$t/shot.png" -format '%[pixel:p{76,212}]' info:)
[ "$hl" = "srgb(0,0,128)" ] && [ "$other" != "$hl" ] || fail "picture 3 is not selected ($hl, $other)"

# Picture 3's check box (13, 62 into its cell), then the "next" hot spot,
# then "Close".
xdotool mousemove $((80 + 26 + 13 + 5)) $((60 + 226 + 62 + 5)) click 1
sleep 0.3
xdotool mousemove $((80 + 594)) $((60 + 330)) click 1
sleep 0.3
xdotool mousemove $((80 + 556)) $((60 + 393)) click 1
for _ in $(seq 50); do kill -0 "$config" 2> /dev/null || break; sleep 0.1; done
if kill -0 "$config" 2> /dev/null; then fail "Close did not close the window"; fi
status=0
wait "$config" || status=$?
config=
[ "$status" -eq 0 ] || fail "exit status $status"

ini=$(tr -d '\r' < "$t/bin/Ten.ini")
grep -qx 'Index=4' <<< "$ini" || fail "Index not 4: $ini"
grep -qx 'Duration=7' <<< "$ini" || fail "the file's other keys were lost: $ini"
files=$(sed -n '/^\[Files\]/,/^\[/p' <<< "$ini" | grep '=' | tr '\n' ' ')
[ "$files" = "1= 3= 4= " ] || fail "[Files] is '$files'"
[ -z "$(ls -A "$t/tmp")" ] || fail "work folder left behind"
echo "configuration window keeps the choices: ok"
