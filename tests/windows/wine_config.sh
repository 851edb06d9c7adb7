#!/usr/bin/env bash
# The Windows build's configuration window under Wine on a virtual X screen,
# with the demo packed as Demo.scr:
#   /C shows MainWindow at the size and place the Linux build shows it, with
#      the skin and the thumbnails where the Linux build's kxtool window draws
#      them (the two toolkits' fonts differ: see the tolerances below);
#   a click on a thumbnail's check box changes its tick;
#   the website button hands the address to the shell's "open" verb;
#   the Close hot spot ends the program with status 0 and writes the window's
#      keys (Index, the unticked picture under [Files]) into Demo.ini.
# Skipped (77) unless CI or KX_WINDOWS_TESTS is set and the cross-built
# player, Wine and the X tools exist.
#   wine_config.sh KXTOOL KXCSAVER.EXE DEMO_DIR WINEPREFIX
set -euo pipefail
kxtool=$1
player=$2
demo=$3
prefix=$4
t=$(mktemp -d)
source "$(dirname "$0")/wine.sh"
[ -f "$player" ] || exit 77
command -v xwd > /dev/null && command -v xdotool > /dev/null && command -v convert > /dev/null || exit 77
mkdir -p "$t/bin" "$t/linux" "$t/fake"
"$kxtool" pack "$demo" -o "$t/bin/Demo.scr" --player "$player" > /dev/null

# Wine hands a web address opened with the shell's "open" verb to its
# winebrowser, which runs the host's xdg-open: this one records it.
printf '#!/bin/sh\necho "$@" >> "%s/opened"\n' "$t" > "$t/fake/xdg-open"
chmod +x "$t/fake/xdg-open"
export PATH="$t/fake:$PATH"
start_wine "$prefix" 800x600

# The window as the Linux build draws it, from the same package.
TMPDIR="$t/linux" "$kxtool" window "$t/bin/Demo.scr" MainWindow -o "$t/expected.png"

# Tolerances for what Wine's fonts draw differently from the Linux build's
# (Xft with DejaVu there, Wine's own font substitutes here): the whole
# 640 x 480 window within a normalised RMSE of 0.06, and the skin and the
# first thumbnail's picture, which hold no text, within 0.02.
window_tolerance=0.06
picture_tolerance=0.02
below() { awk -v e="$1" -v l="$2" 'BEGIN { exit !(e != "" && e < l) }'; }
shoot() { xwd -root -silent > "$t/screen.xwd" && convert "xwd:$t/screen.xwd" -crop "$1" +repage "$2"; }
# Waits until the screen area $2 is within $3 of picture $1.
wait_for_area() {
  local expected=$1 geometry=$2 limit=$3 err=
  for _ in $(seq 120); do
    sleep 0.25
    kill -0 "$config" 2> /dev/null || fail "the program ended before $expected appeared"
    shoot "$geometry" "$t/shot.png" 2> /dev/null || continue
    err=$(rmse "$t/shot.png" "$expected")
    if below "$err" "$limit"; then echo "$expected: difference $err (limit $limit)"; return 0; fi
  done
  fail "$expected did not appear within $limit (last difference: ${err:-none})"
}
# The difference of one area of two pictures.
area_rmse() {
  convert "$1" -crop "$3" +repage "$t/a.png"
  convert "$2" -crop "$3" +repage "$t/b.png"
  rmse "$t/a.png" "$t/b.png"
}

"$wine" "$t/bin/Demo.scr" /C &
config=$!
pids+=($config)
# The 640 x 480 window without a frame, centred on the 800 x 600 screen.
wait_for_area "$t/expected.png" 640x480+80+60 "$window_tolerance"
[ "$(identify -format '%wx%h' "$t/shot.png")" = 640x480 ] || fail "window size"
# The skin right of the help line and the first thumbnail's picture.
for area in 200x40+420+440 64x46+46+140; do
  err=$(area_rmse "$t/shot.png" "$t/expected.png" "$area")
  below "$err" "$picture_tolerance" || fail "area $area differs from the Linux build's by $err"
done
cp "$t/shot.png" "$t/window.png"

# Picture 0's check box (13, 62 into its cell at 26, 120) is ticked; a click
# unticks it.
box=20x20+$((26 + 13 - 5))+$((120 + 62 - 5))
convert "$t/window.png" -crop "$box" +repage "$t/ticked.png"
xdotool mousemove $((80 + 26 + 13 + 5)) $((60 + 120 + 62 + 5)) click 1
changed=
for _ in $(seq 20); do
  sleep 0.25
  shoot "$box" "$t/box.png"
  err=$(rmse "$t/box.png" "$t/ticked.png")
  if ! below "$err" 0.01; then changed=1; break; fi
done
[ -n "$changed" ] || fail "the click did not change the tick"

# The website button (524, 23, 96 x 28).
xdotool mousemove $((80 + 572)) $((60 + 37)) click 1
for _ in $(seq 80); do [ -s "$t/opened" ] && break; sleep 0.25; done
grep -q 'https://example.org/kx-demo' "$t/opened" 2> /dev/null ||
  fail "the website was not handed to the shell: $(cat "$t/opened" 2> /dev/null)"

# "Close" (502, 376).
xdotool mousemove $((80 + 556)) $((60 + 393)) click 1
for _ in $(seq 80); do kill -0 "$config" 2> /dev/null || break; sleep 0.25; done
if kill -0 "$config" 2> /dev/null; then fail "the Close hot spot did not close the window"; fi
status=0
wait "$config" || status=$?
[ "$status" -eq 0 ] || fail "/C ended with status $status"
settings=$(tr -d '\r' < "$t/bin/Demo.ini")
grep -qx 'Index=0' <<< "$settings" || fail "Index not written: $settings"
sed -n '/^\[Files\]/,/^\[/p' <<< "$settings" | grep -qx '0=' || fail "the unticked picture not written: $settings"
echo "configuration window under Wine: ok"
