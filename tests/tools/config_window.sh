#!/usr/bin/env bash
# The demo's configuration window on a virtual X screen: /C shows MainWindow
# as kxtool window draws it (the skin, the names, the thumbnails), a click on
# the hot spot bound to "Close window" ends the program with status 0, and
# the work folder is gone afterwards.
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

mkdir "$t/tmp" "$t/bin"
"$kxtool" pack "$demo" -o "$t/bin/Demo.scr" --player "$player" > /dev/null
start_xvfb 800x600 -noreset

TMPDIR="$t/tmp" "$kxtool" window "$t/bin/Demo.scr" MainWindow -o "$t/expected.png"
[ -z "$(ls -A "$t/tmp")" ] || fail "kxtool window left its work folder behind"

TMPDIR="$t/tmp" "$t/bin/Demo.scr" /C &
config=$!
# The 640 x 480 window without a frame, centred on the 800 x 600 screen.
wait_for_screen "$config" "$t/expected.png" 640x480+80+60
[ -n "$(ls -A "$t/tmp")" ] || fail "no work folder while the window is open"

# A click beside the hot spots changes nothing; the "Close" hot spot
# (502, 376, 108 x 34 in the window) closes it.
xdotool mousemove 100 70 click 1
sleep 0.3
kill -0 "$config" 2> /dev/null || fail "a click on the skin ended the program"
xdotool mousemove $((80 + 556)) $((60 + 393)) click 1
for _ in $(seq 50); do kill -0 "$config" 2> /dev/null || break; sleep 0.1; done
if kill -0 "$config" 2> /dev/null; then fail "the Close hot spot did not close the window"; fi
status=0
wait "$config" || status=$?
config=
[ "$status" -eq 0 ] || fail "exit status $status"
[ -z "$(ls -A "$t/tmp")" ] || fail "work folder left behind"
echo "configuration window on a virtual X screen: ok"
