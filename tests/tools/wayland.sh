#!/usr/bin/env bash
# The show on Wayland, under Weston started here on sockets of its own:
#  - Weston's headless backend offers no input seat, which SDL's Wayland
#    driver cannot start without: /S says it cannot run, ends at once with
#    status 1 and its work folder removed, and does not crash;
#  - Weston nested in a virtual X screen (its X11 backend, two outputs, a
#    seat fed by the X screen's keyboard and pointer), the show's own
#    session without DISPLAY: the demo starts and presents frames, a still
#    picture covers both outputs pixel for pixel (the compositor's own
#    screenshot), a key ends the show, SIGTERM ends it, and both leave no
#    work folder;
#  - with DISPLAY and WAYLAND_DISPLAY both set, the show runs on X11 unless
#    SDL_VIDEODRIVER=wayland chooses Wayland, and on X11 beside a compositor
#    without a seat.
# Weston's own screenshots need its --debug; a key reaches the nested
# compositor through the X screen (xdotool), as no input can be injected
# into the headless one.
set -euo pipefail
kxtool=$1
demo=$2
command -v weston > /dev/null || { echo "no weston: skipped"; exit 77; }
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
# The compositors' sockets in a folder of the test's own, as the session's would be.
mkdir -m 0700 "$t/run" "$t/tmp"
export XDG_RUNTIME_DIR="$t/run" PULSE_RUNTIME_PATH="$t/pulse"
unset WAYLAND_DISPLAY WAYLAND_SOCKET SDL_VIDEODRIVER

# start_weston NAME OPTIONS...: a compositor on socket NAME, ready for clients.
start_weston() {
  local name=$1
  shift
  weston --no-config --socket="$name" --log="$t/$name.log" "$@" > /dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -S "$t/run/$name" ] && return 0; sleep 0.1; done
  fail "weston ($name) did not start: $(tail -n5 "$t/$name.log")"
}

cp -r "$demo" "$t/demo"
"$kxtool" pack "$t/demo" -o "$t/Demo.scr" > /dev/null
# A still picture of each output's size, stretched: every pixel of both
# outputs is its colour.
mkdir "$t/red"
convert -size 800x600 xc:'#c80000' "$t/red/red.png"
printf '[FileList]\r\nred.png=1\r\n[Default]\r\nStretch=1\r\nProportional=0\r\nDuration=600\r\n' > "$t/red/project.ini"
"$kxtool" pack "$t/red" -o "$t/Red.scr" > /dev/null
convert -size 1600x600 xc:'#c80000' "$t/both.png"

no_work_folder() { [ -z "$(ls -A "$t/tmp")" ] || fail "$1: work folder left behind: $(ls -A "$t/tmp")"; }

# 1. Headless: no seat, a clean refusal.
start_weston headless --backend=headless-backend.so --use-pixman --width=800 --height=600
for driver in "" wayland; do
  status=0
  env -u DISPLAY WAYLAND_DISPLAY=headless SDL_VIDEODRIVER="$driver" TMPDIR="$t/tmp" timeout 30 "$t/Demo.scr" /S \
    > /dev/null 2> "$t/err" || status=$?
  what="headless Weston (driver '$driver')"
  [ "$status" -eq 1 ] || fail "$what: exit status $status: $(cat "$t/err")"
  ! grep -q "AddressSanitizer\|runtime error" "$t/err" || fail "$what: $(cat "$t/err")"
  grep -q "Unable to run screensaver." "$t/err" || fail "$what: no message: $(cat "$t/err")"
  grep -q "no input seat" "$t/err" || fail "$what: the reason is not given: $(cat "$t/err")"
  no_work_folder "$what"
done
echo "headless Weston: refused cleanly"

command -v Xvfb > /dev/null && command -v xdotool > /dev/null && command -v xwd > /dev/null &&
  command -v weston-screenshooter > /dev/null ||
  { echo "no Xvfb, xdotool, xwd or weston-screenshooter: the rest skipped"; exit 77; }
start_xvfb 1920x1080
xdisplay=$DISPLAY
start_weston nested --backend=x11-backend.so --use-pixman --width=800 --height=600 --output-count=2 --debug

# run_show SCR [VAR=VALUE...]: the show in the background ($show), its frame
# statistics in $t/stats; the Wayland session's own environment, no DISPLAY.
run_show() {
  local scr=$1
  shift
  rm -f "$t/stats"
  env -u DISPLAY WAYLAND_DISPLAY=nested KX_FRAME_STATS="$t/stats" TMPDIR="$t/tmp" "$@" "$scr" /S 2> "$t/err" &
  show=$!
}
# frames_sent N: waits until the show has sent N frames.
frames_sent() {
  for _ in $(seq 600); do
    kill -0 "$show" 2> /dev/null || fail "the show ended: $(cat "$t/err")"
    [ "$(tail -n1 "$t/stats" 2> /dev/null | awk '{print $3}')" -ge "$1" ] 2> /dev/null && return 0
    sleep 0.1
  done
  fail "fewer than $1 frames sent in 60 s: $(tail -n1 "$t/stats" 2> /dev/null) $(cat "$t/err")"
}
# The compositor's picture of all its outputs, side by side.
screenshot() {
  rm -rf "$t/shot" && mkdir "$t/shot"
  (cd "$t/shot" && env -u DISPLAY WAYLAND_DISPLAY=nested timeout 30 weston-screenshooter) || fail "no screenshot"
  mv "$t"/shot/*.png "$t/shot.png"
}

# 2. The demo: frames, then SIGTERM.
run_show "$t/Demo.scr"
frames_sent 10
first=$(tail -n1 "$t/stats")
frames_sent $(( $(echo "$first" | awk '{print $3}') + 10 ))
echo "demo on Wayland: $(tail -n1 "$t/stats") (seconds, frames given, sent, pixels sent)"
sent=$(now)
kill -TERM "$show"
wait "$show" 2> /dev/null || true
took=$(( $(now) - sent ))
echo "demo on Wayland, SIGTERM: ended after $took ms"
# As the other signal tests: the rest is the kernel tearing down, which a
# loaded machine can stretch.
[ "$took" -le 2500 ] || fail "took $took ms after SIGTERM"
no_work_folder "SIGTERM"

# 3. A still picture on both outputs, in the plain window and in SDL's
#    exclusive mode (a back picture of 640 x 480 scaled up); a key ends the
#    show.
for mode in 0 1; do
  printf '[Setting]\r\nDirectX=%s\r\nDirectXQuality=2\r\n' $mode > "$t/Red.ini"
  run_show "$t/Red.scr"
  frames_sent 1
  sleep 1
  screenshot
  [ "$(identify -format %wx%h "$t/shot.png")" = 1600x600 ] || fail "the outputs are not 2 x 800 x 600"
  wrong=$(compare -metric AE -fuzz 2% "$t/shot.png" "$t/both.png" null: 2>&1 || true)
  [ "$wrong" = 0 ] || fail "exclusive=$mode: $wrong pixels of the outputs do not show the picture"
  kill -0 "$show" 2> /dev/null || fail "exclusive=$mode: the show ended before the key"
  # The X screen's keys go to the window under the pointer (no window
  # manager there): the compositor's. That move alone is no input that
  # ends the show (the first moves are ignored).
  DISPLAY=$xdisplay xdotool mousemove $((400 + mode)) 300
  sleep 1
  kill -0 "$show" 2> /dev/null || fail "exclusive=$mode: the show ended on the pointer's entering"
  DISPLAY=$xdisplay xdotool key a
  for _ in $(seq 100); do kill -0 "$show" 2> /dev/null || break; sleep 0.1; done
  if kill -0 "$show" 2> /dev/null; then fail "exclusive=$mode: the show did not end on a key"; fi
  wait "$show" || fail "exclusive=$mode: exit status $? after a key: $(cat "$t/err")"
  no_work_folder "exclusive=$mode, key"
done
rm "$t/Red.ini"
echo "still picture on both outputs, plain and exclusive, ended by a key: ok"

# 4. Both sessions there: X11 unless Wayland is chosen. The X screen's
#    corner lies outside the nested compositor's windows.
corner() {
  DISPLAY=$xdisplay xwd -root -silent | convert xwd:- -format '%[fx:int(255*p{1900,1060}.r)]' info:
}
for driver in "" wayland; do
  run_show "$t/Red.scr" DISPLAY="$xdisplay" SDL_VIDEODRIVER="$driver"
  frames_sent 1
  sleep 1
  screenshot
  on_wayland=$(compare -metric AE -fuzz 2% "$t/shot.png" "$t/both.png" null: 2>&1 || true)
  on_x=$(corner)
  kill -TERM "$show"
  wait "$show" 2> /dev/null || true
  no_work_folder "both sessions (driver '$driver')"
  if [ -z "$driver" ]; then
    [ "$on_x" -gt 180 ] && [ "$on_wayland" != 0 ] || fail "not on X11 by default (X corner $on_x, Wayland $on_wayland)"
  else
    [ "$on_x" -lt 50 ] && [ "$on_wayland" = 0 ] ||
      fail "not on Wayland when chosen (X corner $on_x, Wayland $on_wayland)"
  fi
done
# A compositor without a seat beside X11: the show runs on X11.
rm -f "$t/stats"
env WAYLAND_DISPLAY=headless DISPLAY="$xdisplay" KX_FRAME_STATS="$t/stats" TMPDIR="$t/tmp" "$t/Red.scr" /S 2> "$t/err" &
show=$!
frames_sent 1
sleep 1
on_x=$(corner)
kill -TERM "$show"
wait "$show" 2> /dev/null || true
no_work_folder "headless Weston beside X11"
[ "$on_x" -gt 180 ] || fail "not on X11 beside a compositor without a seat (X corner $on_x): $(cat "$t/err")"
echo "both sessions: X11 by default and beside a compositor without a seat, Wayland when chosen: ok"
echo "show on Wayland: ok"
