#!/usr/bin/env bash
# The settings dialog of the Windows build under Wine on a virtual X screen,
# with the demo packed as Demo.scr: the "Settings" hot spot of MainWindow
# opens the 364 x 324 dialog centred on the screen, its controls drawn as the
# Linux build's kxtool dialog draws them (the two toolkits' fonts differ: see
# the tolerance below); a new duration and the clock confirmed with OK are
# written into Demo.ini beside the .scr as the dialog's [Setting] keys; the
# "About" hot spot opens About as the Linux build draws it, and its OK closes it;
# "Wallpaper" asks in a drawn Yes/No box, and No writes nothing.
# The dialog is read from its own X window (xwd -id): Wine 8 on a bare Xvfb
# leaves the screen under a captioned window opened from MainWindow black,
# although the window holds what the program drew.
# Skipped (77) unless CI or KX_WINDOWS_TESTS is set and the cross-built
# player, Wine and the X tools exist.
#   wine_dialog.sh KXTOOL KXCSAVER.EXE DEMO_DIR WINEPREFIX
set -euo pipefail
kxtool=$1
player=$2
demo=$3
prefix=$4
t=$(mktemp -d)
source "$(dirname "$0")/wine.sh"
[ -f "$player" ] || exit 77
command -v xwd > /dev/null && command -v xdotool > /dev/null && command -v convert > /dev/null || exit 77
mkdir -p "$t/bin" "$t/linux"
"$kxtool" pack "$demo" -o "$t/bin/Demo.scr" --player "$player" > /dev/null
start_wine "$prefix" 800x600

# The dialog as the Linux build draws it, from the same package.
TMPDIR="$t/linux" "$kxtool" dialog "$t/bin/Demo.scr" -o "$t/expected.png"
TMPDIR="$t/linux" "$kxtool" window "$t/bin/Demo.scr" MainWindow -o "$t/window.png"
TMPDIR="$t/linux" "$kxtool" window "$t/bin/Demo.scr" About -o "$t/about.png"

# Tolerances for Wine's font substitutes: MainWindow as in wine_config.sh; the
# dialog, which is mostly text on grey, within 0.08; About within 0.2, as its
# memo breaks its lines elsewhere with Wine's wider font (a black window is
# over 0.6 away from either).
window_tolerance=0.06
dialog_tolerance=0.08
about_tolerance=0.2
below() { awk -v e="$1" -v l="$2" 'BEGIN { exit !(e != "" && e < l) }'; }

"$wine" "$t/bin/Demo.scr" /C &
config=$!
pids+=($config)
err=
for _ in $(seq 120); do
  sleep 0.25
  kill -0 "$config" 2> /dev/null || fail "the program ended before MainWindow appeared"
  xwd -root -silent > "$t/screen.xwd" 2> /dev/null || continue
  convert "xwd:$t/screen.xwd" -crop 640x480+80+60 +repage "$t/shot.png"
  err=$(rmse "$t/shot.png" "$t/window.png")
  below "$err" "$window_tolerance" && break
done
below "$err" "$window_tolerance" || fail "MainWindow did not appear (last difference: ${err:-none})"

# "Settings" (148, 376, 108 x 34).
xdotool mousemove $((80 + 202)) $((60 + 393)) click 1
dialog=
for _ in $(seq 80); do
  sleep 0.25
  dialog=$(xdotool search --onlyvisible --name '^Settings$' 2> /dev/null | head -n1 || true)
  [ -n "$dialog" ] && break
done
[ -n "$dialog" ] || fail "the settings dialog did not open"
for _ in $(seq 40); do
  sleep 0.25
  xwd -id "$dialog" -silent > "$t/dialog.xwd" 2> /dev/null || continue
  convert "xwd:$t/dialog.xwd" +repage "$t/dialog.png"
  err=$(rmse "$t/dialog.png" "$t/expected.png")
  below "$err" "$dialog_tolerance" && break
done
[ "$(identify -format '%wx%h' "$t/dialog.png")" = 364x324 ] || fail "dialog size $(identify -format '%wx%h' "$t/dialog.png")"
below "$err" "$dialog_tolerance" || fail "the dialog differs from the Linux build's by ${err:-nothing read}"
echo "settings dialog: difference $err (limit $dialog_tolerance)"

# The duration box (page at 12, 32; box at 140, 157): 15 instead of 10; then
# "Show Clock" (30, 218) and OK (198, 289). The dialog is centred at 218, 138.
xdotool mousemove $((218 + 12 + 140 + 13)) $((138 + 32 + 157 + 10)) click 1
xdotool key End BackSpace BackSpace BackSpace type 15
xdotool mousemove $((218 + 12 + 30 + 8)) $((138 + 32 + 218 + 8)) click 1
xdotool mousemove $((218 + 235)) $((138 + 301)) click 1
for _ in $(seq 40); do [ -s "$t/bin/Demo.ini" ] && break; sleep 0.25; done
settings=$(tr -d '\r' < "$t/bin/Demo.ini" 2> /dev/null || true)
keys=$(sed -n '/^\[Setting\]/,/^\[/p' <<< "$settings" | grep '=' | cut -d= -f1 | tr '\n' ' ')
[ "$keys" = "ImageSize ImageMode Speed Sound Music Transition Duration DirectX DirectXQuality CustomMusic ShuffleMusic ShowClock ClockPos " ] ||
  fail "[Setting] keys: $keys"
grep -qx 'Duration=15' <<< "$settings" || fail "duration: $settings"
grep -qx 'ShowClock=1' <<< "$settings" || fail "clock: $settings"

# "Wallpaper" (266, 376) asks first in the system's Yes/No box (Wine's own,
# so only its being drawn is checked: not black); No leaves no wallpaper
# picture beside the program.
xdotool mousemove $((80 + 320)) $((60 + 393)) click 1
box=
for _ in $(seq 80); do
  sleep 0.25
  for w in $(xdotool search --onlyvisible --name '^KX Demo Screensaver$' 2> /dev/null || true); do
    xwininfo -id "$w" | grep -q 'Width: 640' || box=$w
  done
  [ -n "$box" ] && break
done
[ -n "$box" ] || fail "the wallpaper question did not appear"
mean=
for _ in $(seq 40); do
  sleep 0.25
  xwd -id "$box" -silent > "$t/box.xwd" 2> /dev/null || continue
  mean=$(convert "xwd:$t/box.xwd" -format '%[fx:mean]' info:)
  below 0.5 "$mean" && break
done
below 0.5 "$mean" || fail "the wallpaper question is not drawn (mean ${mean:-none})"
xdotool key --window "$box" n
for _ in $(seq 40); do xwininfo -id "$box" > /dev/null 2>&1 || break; sleep 0.25; done
if xwininfo -id "$box" 2> /dev/null | grep -q IsViewable; then fail "No did not close the wallpaper question"; fi
[ ! -e "$t/bin/Demo.scr.bmp" ] || fail "No still wrote the wallpaper picture"

# "About" (384, 376) opens the About window, drawn as the Linux build draws
# it; its OK button (264, 242, 84 x 28) closes it.
xdotool mousemove $((80 + 438)) $((60 + 393)) click 1
about=
for _ in $(seq 80); do
  sleep 0.25
  about=$(xdotool search --onlyvisible --name '^About KX Demo Screensaver$' 2> /dev/null | head -n1 || true)
  [ -n "$about" ] && break
done
[ -n "$about" ] || fail "About did not open"
for _ in $(seq 40); do
  sleep 0.25
  xwd -id "$about" -silent > "$t/about.xwd" 2> /dev/null || continue
  convert "xwd:$t/about.xwd" +repage "$t/about_shot.png"
  err=$(rmse "$t/about_shot.png" "$t/about.png")
  below "$err" "$about_tolerance" && break
done
below "$err" "$about_tolerance" || fail "About differs from the Linux build's by ${err:-nothing read}"
echo "About: difference $err (limit $about_tolerance)"
geometry=$(xwininfo -id "$about" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF } END { print x, y }')
read -r ax ay <<< "$geometry"
xdotool mousemove $((ax + 264 + 42)) $((ay + 242 + 14)) click 1
for _ in $(seq 40); do
  xdotool search --onlyvisible --name '^About KX Demo Screensaver$' > /dev/null 2>&1 || break
  sleep 0.25
done
if xdotool search --onlyvisible --name '^About KX Demo Screensaver$' > /dev/null 2>&1; then fail "OK did not close About"; fi
kill -0 "$config" 2> /dev/null || fail "closing About ended the program"

# "Close" (502, 376).
xdotool mousemove $((80 + 556)) $((60 + 393)) click 1
for _ in $(seq 80); do kill -0 "$config" 2> /dev/null || break; sleep 0.25; done
if kill -0 "$config" 2> /dev/null; then fail "the Close hot spot did not close the window"; fi
status=0
wait "$config" || status=$?
[ "$status" -eq 0 ] || fail "/C ended with status $status"
echo "settings dialog under Wine: ok"
