#!/usr/bin/env bash
# The settings dialog and the wallpaper from the configuration window, on a
# virtual X screen: the dialog opens as kxtool dialog draws it, a new
# duration and the clock confirmed with OK are written as the dialog's
# [Setting] keys in their order; "Set as a Wallpaper", answered Yes, writes
# the picture beside the program and makes it the root window's background
# (the root-pixmap setter), and under GNOME's settings (the keyfile backend)
# the desktop's picture-uri names it.
set -euo pipefail
kxtool=$1
player=$2
demo=$3
command -v Xvfb > /dev/null && command -v xdotool > /dev/null && command -v xwd > /dev/null &&
  command -v convert > /dev/null && command -v xprop > /dev/null || exit 77
t=$(mktemp -d)
xvfb_pid=
config=
trap '[ -n "$config" ] && kill "$config" 2> /dev/null; [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null; rm -rf "$t"' EXIT
source "$(dirname "$0")/xvfb.sh"

mkdir "$t/tmp" "$t/bin" "$t/project"
{
  printf '[FileList]\r\n'
  for i in 0 1 2; do
    convert -size 64x48 "xc:$(echo red green blue | cut -d' ' -f$((i + 1)))" "$t/project/p$i.jpg"
    printf 'p%d.jpg=1\r\n' "$i"
  done
  printf '[General]\r\nProductName=Three\r\n[Default]\r\nSpeed=100\r\nDuration=10\r\n'
} > "$t/project/project.ini"
cp "$demo/KXGUI.kxu" "$t/project/"
"$kxtool" pack "$t/project" -o "$t/bin/Three.scr" --player "$player" > /dev/null
printf '[Files]\r\n2=\r\n' > "$t/bin/Three.ini"
start_xvfb 800x600 -noreset

cp "$t/bin/Three.ini" "$t/stored.ini"
TMPDIR="$t/tmp" "$kxtool" window "$t/bin/Three.scr" MainWindow -o "$t/window.png" --settings "$t/stored.ini"
TMPDIR="$t/tmp" "$kxtool" dialog "$t/bin/Three.scr" -o "$t/dialog.png" --settings "$t/stored.ini"

TMPDIR="$t/tmp" "$t/bin/Three.scr" /C &
config=$!
wait_for_screen "$config" "$t/window.png" 640x480+80+60
# "Settings" (148, 376, 108 x 34); the 364 x 324 dialog is centred at 218, 138.
xdotool mousemove $((80 + 202)) $((60 + 393)) click 1
wait_for_screen "$config" "$t/dialog.png" 364x324+218+138
# The duration box (page at 12, 32; box at 140, 157): 15 instead of 10.
xdotool mousemove $((218 + 12 + 140 + 13)) $((138 + 32 + 157 + 10)) click 1
xdotool key End BackSpace BackSpace BackSpace type 15
# "Show Clock" (30, 218), then OK (198, 289).
xdotool mousemove $((218 + 12 + 30 + 8)) $((138 + 32 + 218 + 8)) click 1
xdotool mousemove $((218 + 235)) $((138 + 301)) click 1
sleep 0.5
keys=$(tr -d '\r' < "$t/bin/Three.ini" | sed -n '/^\[Setting\]/,/^\[/p' | grep '=' | cut -d= -f1 | tr '\n' ' ')
[ "$keys" = "ImageSize ImageMode Speed Sound Music Transition Duration DirectX DirectXQuality CustomMusic ShuffleMusic ShowClock ClockPos " ] ||
  fail "[Setting] keys: $keys"
grep -qx 'Duration=15' <(tr -d '\r' < "$t/bin/Three.ini") || fail "duration: $(cat "$t/bin/Three.ini")"
grep -qx 'ShowClock=1' <(tr -d '\r' < "$t/bin/Three.ini") || fail "clock: $(cat "$t/bin/Three.ini")"
grep -qx 'Speed=10' <(tr -d '\r' < "$t/bin/Three.ini") || fail "speed position: $(cat "$t/bin/Three.ini")"

# "Wallpaper" (266, 376), then Yes (the question box's Return button).
root_pixmap() { xprop -root _XROOTPMAP_ID 2>&1 || true; }
root_pixmap | grep -q -e 'not found' -e 'no such atom' || fail "the root window had a background pixmap already"
xdotool mousemove $((80 + 320)) $((60 + 393)) click 1
sleep 1
xdotool key Return
for _ in $(seq 40); do [ -s "$t/bin/Three.scr.bmp" ] && break; sleep 0.25; done
[ "$(head -c 2 "$t/bin/Three.scr.bmp")" = BM ] || fail "no wallpaper file beside the program"
for _ in $(seq 20); do root_pixmap | grep -q 'pixmap id' && break; sleep 0.25; done
root_pixmap | grep -q 'pixmap id' || fail "no root pixmap: $(root_pixmap)"

xdotool mousemove $((80 + 556)) $((60 + 393)) click 1
status=0
wait "$config" || status=$?
config=
[ "$status" -eq 0 ] || fail "exit status $status"
tr -d '\r' < "$t/bin/Three.ini" | grep -qx 'Index=0' || fail "Index not written"

# Under GNOME the desktop's own setting names the file.
if command -v gsettings > /dev/null && gsettings list-keys org.gnome.desktop.background > /dev/null 2>&1; then
  export XDG_CURRENT_DESKTOP=GNOME GSETTINGS_BACKEND=keyfile XDG_CONFIG_HOME="$t/cfg"
  mkdir -p "$t/cfg"
  gsettings set org.gnome.desktop.background picture-options wallpaper
  TMPDIR="$t/tmp" "$t/bin/Three.scr" /C &
  config=$!
  wait_for_screen "$config" "$t/window.png" 640x480+80+60
  xdotool mousemove $((80 + 594)) $((60 + 330)) click 1
  xdotool mousemove $((80 + 320)) $((60 + 393)) click 1
  sleep 1
  xdotool key Return
  for _ in $(seq 40); do gsettings get org.gnome.desktop.background picture-uri | grep -q 'Three.scr.bmp' && break; sleep 0.25; done
  gsettings get org.gnome.desktop.background picture-uri | grep -q "file://.*/bin/Three.scr.bmp" ||
    fail "picture-uri: $(gsettings get org.gnome.desktop.background picture-uri)"
  [ "$(gsettings get org.gnome.desktop.background picture-options)" = "'centered'" ] || fail "tiling still on"
  xdotool mousemove $((80 + 556)) $((60 + 393)) click 1
  wait "$config" || fail "exit status $?"
  config=
fi
[ -z "$(ls -A "$t/tmp")" ] || fail "work folder left behind"
echo "settings dialog and wallpaper from the configuration window: ok"
