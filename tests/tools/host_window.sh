#!/usr/bin/env bash
# The modes that draw into another program's window, on a virtual X screen:
# /P paints the preview stretched over a 152 x 112 host window and removes
# its work folder; a window destroyed before it is shown ends the wait; with
# XSCREENSAVER_WINDOW the show runs inside the host's window, ignores the
# mouse, and SIGTERM ends it at once with its work folder removed.
set -euo pipefail
kxtool=$1
host=$2
demo=$3
command -v Xvfb > /dev/null && command -v xwd > /dev/null && command -v xdotool > /dev/null || exit 77
t=$(mktemp -d)
xvfb_pid=
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2> /dev/null || true; done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  rm -rf "$t"
}
trap cleanup EXIT
source "$(dirname "$0")/xvfb.sh"
start_xvfb 800x600

mkdir "$t/project" "$t/tmp"
cp "$demo/hills.jpg" "$demo/night.jpg" "$t/project/"
printf '[FileList]\r\nhills.jpg=1\r\n[Default]\r\nStretch=1\r\nProportional=0\r\n[Advance]\r\nPreviewFile=night.jpg\r\n' \
  > "$t/project/project.ini"
"$kxtool" pack "$t/project" -o "$t/Lake.scr"
no_work_folder() { [ -z "$(ls -A "$t/tmp" | grep -v '^pulse-' || true)" ]; }

# start_host W H [map|destroy MS]: a host window; its id in $id.
start_host() {
  rm -f "$t/id"
  "$host" "$@" > "$t/id" &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$t/id" ] && break; sleep 0.05; done
  id=$(cat "$t/id")
  [ -n "$id" ] || fail "no host window"
}

# The preview, in hexadecimal as X tools print ids, into a window mapped later.
start_host 152 112 map 300
TMPDIR="$t/tmp" "$t/Lake.scr" /P "$(printf '0x%x' "$id")" || fail "/P ended with status $?"
xwd -id "$id" -silent | convert xwd:- "$t/preview.png"
convert "$demo/night.jpg" -resize '152x112!' "$t/expected.png"
e=$(rmse "$t/preview.png" "$t/expected.png")
echo "preview difference: $e"
awk -v e="$e" 'BEGIN { exit !(e < 0.03) }' || fail "the preview differs from the stretched picture by $e"
no_work_folder || fail "/P left its work folder"

# A window destroyed before it was shown ends the wait with a failure.
start_host 152 112 destroy 300
if TMPDIR="$t/tmp" timeout 10 "$t/Lake.scr" /P "$id" 2> "$t/err"; then fail "/P succeeded on a destroyed window"; fi
[ $? -ne 124 ] || fail "/P kept waiting for a destroyed window"
no_work_folder || fail "/P left its work folder after a destroyed window"
if TMPDIR="$t/tmp" "$t/Lake.scr" /P 12345 2> /dev/null; then fail "/P accepted a window that does not exist"; fi
# A preview that is no JPEG: nothing drawn, a failure, the folder removed.
mkdir "$t/bmp"
convert "$demo/night.jpg" "$t/bmp/night.bmp"
cp "$demo/hills.jpg" "$t/bmp/"
printf '[FileList]\r\nhills.jpg=1\r\n[Advance]\r\nPreviewFile=night.bmp\r\n' > "$t/bmp/project.ini"
"$kxtool" pack "$t/bmp" -o "$t/Bmp.scr"
start_host 152 112
if TMPDIR="$t/tmp" "$t/Bmp.scr" /P "$id" 2> "$t/err"; then fail "/P drew a preview that is no JPEG"; fi
grep -q "not a JPEG" "$t/err" || fail "no message for a preview that is no JPEG: $(cat "$t/err")"
no_work_folder || fail "/P left its work folder after a bad preview"

# The show inside the host's window, started as a daemon starts its hacks.
start_host 320 240
XSCREENSAVER_WINDOW=$id TMPDIR="$t/tmp" "$t/Lake.scr" > /dev/null 2>&1 &
saver=$!
pids+=($saver)
convert "$demo/hills.jpg" -resize '320x240!' "$t/expected.png"
shown=
for _ in $(seq 100); do
  sleep 0.1
  xwd -id "$id" -silent 2> /dev/null | convert xwd:- "$t/shown.png" 2> /dev/null || continue
  e=$(rmse "$t/shown.png" "$t/expected.png")
  if [ -n "$e" ] && awk -v e="$e" 'BEGIN { exit !(e < 0.03) }'; then shown=ok; break; fi
done
[ -n "$shown" ] || fail "the show did not appear in the host window (difference ${e:-none})"
xdotool mousemove --window "$id" 10 10 sleep 0.2 mousemove --window "$id" 200 150 sleep 0.2 click 1
sleep 0.5
kill -0 $saver 2> /dev/null || fail "the mouse ended a show run by a daemon"
(sleep 5; kill -9 $saver 2> /dev/null) &
guard=$!
sent=$(now)
kill -TERM $saver
wait $saver 2> /dev/null || true
took=$(( $(now) - sent ))
kill $guard 2> /dev/null || true
echo "host mode ended $took ms after SIGTERM"
[ $took -le 2500 ] || fail "host mode took $took ms to end"
no_work_folder || fail "host mode left its work folder"
echo "preview and host window: ok"
