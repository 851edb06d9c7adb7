#!/usr/bin/env bash
# Runs a packed screensaver with /S on a virtual X screen: the first picture
# must be on screen, a key press must end the show with status 0, and the
# work folder must be gone afterwards.
set -euo pipefail
kxtool=$1
demo=$2
command -v Xvfb > /dev/null && command -v xdotool > /dev/null && command -v xwd > /dev/null &&
  command -v setxkbmap > /dev/null || exit 77
t=$(mktemp -d)
xvfb=
cleanup() { [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null; rm -rf "$t"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# One picture of exactly the screen's size, stretched without proportions:
# the screen must show it pixel for pixel (up to the JPEG decoders' rounding).
mkdir "$t/project" "$t/tmp"
cp "$demo/lake.jpg" "$t/project/"
printf '[FileList]\r\nlake.jpg=1\r\n[Default]\r\nStretch=1\r\nProportional=0\r\nDuration=60\r\n' > "$t/project/project.ini"
"$kxtool" pack "$t/project" -o "$t/Lake.scr"

exec 3> "$t/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$t/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$t/display")"

# System libraries the display driver loads keep allocations the leak checker would report.
# The sound server's client keeps a folder of its own in TMPDIR when it has
# no runtime folder (and its link to it is stale): it gets one outside.
ASAN_OPTIONS=detect_leaks=0 PULSE_RUNTIME_PATH="$t/pulse" TMPDIR="$t/tmp" "$t/Lake.scr" /S &
saver=$!
shot=
for _ in $(seq 100); do
  sleep 0.2
  xwd -root -silent > "$t/screen.xwd" 2> /dev/null || continue
  convert "xwd:$t/screen.xwd" "$t/screen.png"
  err=$( (compare -metric RMSE "$t/screen.png" "$t/project/lake.jpg" null: 2>&1 || true) | sed -n "s/.*(\(.*\)).*/\1/p")
  if [ -n "$err" ] && awk -v e="$err" 'BEGIN { exit !(e < 0.02) }'; then shot=ok; break; fi
done
[ -n "$shot" ] || fail "the picture did not appear (last difference: ${err:-none})"
[ -n "$(ls -A "$t/tmp")" ] || fail "no work folder while the show runs"

# Keys that type nothing leave the show running; a letter beyond ASCII, as a
# German keyboard types it, ends it.
setxkbmap -display "$DISPLAY" de || fail "cannot set a German keyboard layout"
xdotool key shift F2 Left
sleep 0.5
kill -0 "$saver" 2> /dev/null || fail "the show ended on Shift, F2 or an arrow"
xdotool key adiaeresis
for _ in $(seq 50); do kill -0 "$saver" 2> /dev/null || break; sleep 0.1; done
if kill -0 "$saver" 2> /dev/null; then kill "$saver"; fail "the show did not end on the key ä"; fi
wait "$saver" || fail "exit status $?"
[ -z "$(ls -A "$t/tmp")" ] || fail "work folder left behind"
echo "show on a virtual X screen: ok"
