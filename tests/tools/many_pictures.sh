#!/usr/bin/env bash
# A screensaver of 2,000 small pictures: it packs; /C opens with the first
# thumbnails; Ctrl+End scrolls to the last row, whose thumbnails show;
# unticking the last picture there is written on Close, and the next /C
# reads it back (ticking it again then empties [Files]); the show plays.
# Prints how long the steps took, for comparison with a short list.
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

n=2000
mkdir "$t/tmp" "$t/bin" "$t/project"
# One ImageMagick run makes every picture: channels below 200, but the last
# picture is pure magenta, a colour no other cell has.
colour() { echo "rgb($((($1 + 1) * 37 % 200)),$((($1 + 1) * 91 % 200)),$((($1 + 1) * 53 % 200)))"; }
colours=()
for k in $(seq 1 $((n - 1))); do colours+=("xc:rgb($((k * 37 % 200)),$((k * 91 % 200)),$((k * 53 % 200)))"); done
colours+=("xc:rgb(255,0,255)")
(cd "$t/project" && convert -size 16x12 "${colours[@]}" +adjoin -scene 0 p%04d.jpg)
{
  printf '[FileList]\r\n'
  for i in $(seq 0 $((n - 1))); do printf 'p%04d.jpg=1\r\n' "$i"; done
  printf '[General]\r\nProductName=Many\r\n[Default]\r\nDuration=1\r\nRandom=1\r\nTransition=0\r\n'
} > "$t/project/project.ini"
cp "$demo/KXGUI.kxu" "$t/project/"
start=$(now)
"$kxtool" pack "$t/project" -o "$t/bin/Many.scr" --player "$player" > /dev/null
echo "pack: $(($(now) - start)) ms"
listed=$("$kxtool" project "$t/bin/Many.scr" | grep -c '/p[0-9]*\.jpg=TRUE$' || true)
[ "$listed" -eq "$n" ] || fail "the package lists $listed pictures"
start_xvfb 800x600 -noreset

# The window is 640 x 480 at (80, 60); its grid of three columns of 94 x 106
# cells at (24, 118), 304 x 226. A thumbnail sits 15 pixels into its cell,
# its check box 3 pixels right of it and 52 down (centre).
grid=304x226+104+178
shot() { xwd -root -silent > "$t/screen.xwd" && convert "xwd:$t/screen.xwd" -crop "$grid" +repage "$t/grid.png"; }
# The top left corner (x y in the grid) of the cells of a colour, or nothing.
find_colour() {
  convert "$t/grid.png" -fuzz 6% -fill black +opaque "$1" -fill white -opaque "$1" -trim \
    -format '%[fx:w>1 ? 1 : 0] %X %Y' info: 2> /dev/null | awk '$1 == 1 { print $2 + 0, $3 + 0 }'
}
# Waits until a cell of a colour shows; its corner is left in $found.
wait_for_colour() {
  for _ in $(seq 120); do
    kill -0 "$config" 2> /dev/null || fail "the window ended while waiting for $1"
    shot 2> /dev/null && found=$(find_colour "$1") && [ -n "$found" ] && return 0
    sleep 0.25
  done
  fail "no cell of colour $1 appeared"
}
# Opens /C and waits for a cell of the colour given, scrolls to the end and
# clicks the last picture's check box, then Close.
toggle_last() {
  start=$(now)
  TMPDIR="$t/tmp" "$t/bin/Many.scr" /C &
  config=$!
  wait_for_colour "$1"
  echo "/C to the first thumbnail: $(($(now) - start)) ms"
  xdotool mousemove $((104 + 2 + 15 + 30)) $((178 + 2 + 15 + 20)) click 1
  sleep 0.3
  start=$(now)
  xdotool key ctrl+End
  wait_for_colour "rgb(255,0,255)"
  read -r x y <<< "$found"
  echo "Ctrl+End to the last thumbnail: $(($(now) - start)) ms"
  # The pictures before it in the last rows show too.
  [ -n "$(find_colour "$(colour $((n - 2)))")" ] ||
    fail "picture $((n - 2)) has no thumbnail at the end"
  xdotool mousemove $((104 + x + 3)) $((178 + y + 52)) click 1
  sleep 0.3
  xdotool mousemove $((80 + 556)) $((60 + 393)) click 1
  for _ in $(seq 100); do kill -0 "$config" 2> /dev/null || break; sleep 0.1; done
  if kill -0 "$config" 2> /dev/null; then fail "Close did not close the window"; fi
  status=0
  wait "$config" || status=$?
  config=
  [ "$status" -eq 0 ] || fail "exit status $status"
}
unticked() { sed -n '/^\[Files\]/,/^\[/p' "$t/bin/Many.ini" | tr -d '\r' | grep '=' | tr '\n' ' ' || true; }

toggle_last "$(colour 0)"
[ "$(unticked)" = "$((n - 1))= " ] || fail "[Files] after unticking the last picture is '$(unticked)'"
# Read back: the window opens on the last picture, the current one when it
# closed; the second click ticks it again, so nothing is unticked.
toggle_last "rgb(255,0,255)"
[ "$(unticked)" = "" ] || fail "[Files] after ticking it again is '$(unticked)'"
[ -z "$(ls -A "$t/tmp")" ] || fail "work folder left behind"

start=$(now)
"$kxtool" show "$t/bin/Many.scr" --screen 64x48 --seconds 4 --every 1000000 -o "$t/frames" > "$t/show.txt"
echo "kxtool show, 4 s of virtual time: $(($(now) - start)) ms"
pictures=$(grep -c ' picture ' "$t/show.txt" || true)
[ "$pictures" -ge 4 ] || fail "the show showed $pictures pictures: $(head -c 500 "$t/show.txt")"
echo "2,000 pictures pack, configure and play: ok"
