#!/usr/bin/env bash
# The demo's configuration window as the desktop and the user meet it on a
# virtual X screen: the frameless window keeps its taskbar entry, carries the
# screensaver's name, the class kxcsaver and an icon; resting the pointer on
# a hot spot shows its hint (and on the bare skin none); About opens, Escape
# closes it, and Escape closes the main window (it has a Close hot spot).
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

"$kxtool" pack "$demo" -o "$t/Demo.scr" --player "$player" > /dev/null
start_xvfb 800x600 -noreset
"$kxtool" window "$t/Demo.scr" MainWindow -o "$t/expected.png"
"$t/Demo.scr" /C &
config=$!
wait_for_screen "$config" "$t/expected.png" 640x480+80+60

main=$(xdotool search --onlyvisible --class kxcsaver 2> /dev/null | head -n1 || true)
[ -n "$main" ] || fail "no visible window of the class kxcsaver"
class=$(xprop -id "$main" WM_CLASS)
[ "$class" = 'WM_CLASS(STRING) = "KX Demo Screensaver", "kxcsaver"' ] || fail "class: $class"
if xprop -id "$main" _NET_WM_STATE | grep -q SKIP_TASKBAR; then fail "the window skips the taskbar"; fi
# The icon: width and height (the picture's shape, at most 48) and the pixels.
icon=$(xprop -id "$main" -notype 32c _NET_WM_ICON | sed 's/^_NET_WM_ICON = //')
read -r iw ih <<< "$(echo "$icon" | awk -F', ' '{ print $1, $2 }')"
[ "$iw" = 48 ] && [ "$ih" = 36 ] || fail "icon size ${iw:-none} x ${ih:-none}"
[ "$(echo "$icon" | awk -F', ' '{ print NF }')" -eq $((2 + 48 * 36)) ] || fail "icon pixels missing"

# Hints appear about a second after the pointer rests; a hint is a new
# visible window of its own.
visible() { xdotool search --onlyvisible --name '' 2> /dev/null | sort; }
before=$(visible)
xdotool mousemove 100 70
sleep 2
[ "$(visible)" = "$before" ] || fail "the bare skin showed a hint"
xdotool mousemove $((80 + 556)) $((60 + 393))
sleep 0.3
xdotool mousemove $((80 + 560)) $((60 + 395))
hint=
for _ in $(seq 30); do
  hint=$(comm -13 <(echo "$before") <(visible) | head -n1)
  [ -n "$hint" ] && break
  sleep 0.2
done
[ -n "$hint" ] || fail "the Close hot spot showed no hint"
xdotool mousemove 100 70
sleep 0.5

# About (384, 376, 108 x 34 in the window), then Escape.
xdotool mousemove $((80 + 438)) $((60 + 393)) click 1
about=
for _ in $(seq 50); do
  about=$(xdotool search --onlyvisible --name '^About KX Demo Screensaver$' 2> /dev/null | head -n1 || true)
  [ -n "$about" ] && break
  sleep 0.1
done
[ -n "$about" ] || fail "About did not open"
# The window may be gone before the key's release is sent (xdotool then
# reports BadWindow): what counts is that it closed.
xdotool key --window "$about" Escape 2> /dev/null || true
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^About KX Demo Screensaver$' > /dev/null 2>&1 || break
  sleep 0.1
done
if xdotool search --onlyvisible --name '^About KX Demo Screensaver$' > /dev/null 2>&1; then
  fail "Escape did not close About"
fi
kill -0 "$config" 2> /dev/null || fail "Escape in About ended the program"

xdotool key --window "$main" Escape 2> /dev/null || true
for _ in $(seq 50); do kill -0 "$config" 2> /dev/null || break; sleep 0.1; done
if kill -0 "$config" 2> /dev/null; then fail "Escape did not close the main window"; fi
status=0
wait "$config" || status=$?
config=
[ "$status" -eq 0 ] || fail "exit status $status"
echo "configuration window on the desktop: ok"
