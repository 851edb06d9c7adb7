#!/usr/bin/env bash
# The show of the demo's water picture on X11 and on Wayland, side by side,
# at W x H (default 1920 x 1080) for S seconds each (default 20): on X11
# straight on Xvfb; on Wayland in Weston (its X11 backend and pixman
# renderer: Weston's headless backend has no input seat, which SDL's
# Wayland driver cannot start without) nested in the same Xvfb, the player
# without DISPLAY. Prints the player's CPU time and the display servers'
# (Xvfb; Weston and Xvfb) in percent of one core, read from /proc, and the
# frames per second the show drew and sent (from its KX_FRAME_STATS lines).
# Build the player in Release first (see bench_show.sh):
#   bash bench/bench_wayland.sh build-rel/kxtool [S] [WxH]
set -euo pipefail
kxtool=$1
seconds=${2:-20}
size=${3:-1920x1080}
repo=$(cd "$(dirname "$0")/.." && pwd)
command -v weston > /dev/null || { echo "no weston"; exit 1; }
t=$(mktemp -d)
xvfb_pid=
weston_pid=
cleanup() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2> /dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  rm -rf "$t"
}
trap cleanup EXIT
source "$repo/tests/tools/xvfb.sh"
unset ASAN_OPTIONS WAYLAND_DISPLAY SDL_VIDEODRIVER
start_xvfb "$size"

mkdir "$t/water"
cp "$repo/demo/lake.kxp" "$t/water/"
printf '[FileList]\r\nlake.kxp=1\r\n[Default]\r\nDuration=600\r\n' > "$t/water/project.ini"
"$kxtool" pack "$t/water" -o "$t/water.scr" > /dev/null

hz=$(getconf CLK_TCK)
cpu() { local s=0 p; for p in "$@"; do s=$((s + $(awk '{print $14 + $15}' "/proc/$p/stat"))); done; echo $s; }
stats() { tail -n1 "$t/stats" 2> /dev/null || echo "0 0 0 0"; }
# measure SESSION SERVER-PIDS...: SESSION is x11 or wayland.
measure() {
  local session=$1
  shift
  mkdir -p "$t/tmp"
  rm -f "$t/stats"
  if [ "$session" = x11 ]; then
    KX_FRAME_STATS="$t/stats" TMPDIR="$t/tmp" "$t/water.scr" /S > /dev/null 2>&1 &
  else
    env -u DISPLAY XDG_RUNTIME_DIR="$t/run" WAYLAND_DISPLAY=bench KX_FRAME_STATS="$t/stats" TMPDIR="$t/tmp" \
      "$t/water.scr" /S > /dev/null 2>&1 &
  fi
  local pid=$!
  sleep 5  # unpacking, the first picture and the GL set-up are not what is measured
  local before after sbefore safter xbefore xafter
  before=$(cpu $pid) xbefore=$(cpu "$@") sbefore=$(stats)
  sleep "$seconds"
  after=$(cpu $pid) xafter=$(cpu "$@") safter=$(stats)
  kill $pid 2> /dev/null || true
  wait $pid 2> /dev/null || true
  awk -v a="$after" -v b="$before" -v xa="$xafter" -v xb="$xbefore" -v hz="$hz" -v s="$seconds" \
    -v sb="$sbefore" -v sa="$safter" 'BEGIN {
      split(sb, p, " "); split(sa, q, " ")
      span = q[1] - p[1]
      drawn = span > 0 ? (q[2] - p[2]) / span : 0; shown = span > 0 ? (q[3] - p[3]) / span : 0
      printf "player %5.1f %%, display servers %5.1f %%, %3.0f/%3.0f fps drawn/sent", (a - b) * 100 / hz / s,
        (xa - xb) * 100 / hz / s, drawn, shown }'
}
echo "water picture, $size, $seconds s"
echo "X11 (Xvfb):               $(measure x11 "$xvfb_pid")"
mkdir -m 0700 "$t/run"
XDG_RUNTIME_DIR="$t/run" weston --no-config --socket=bench --backend=x11-backend.so --use-pixman \
  --width="${size%x*}" --height="${size#*x}" > /dev/null 2>&1 &
weston_pid=$!
for _ in $(seq 100); do [ -S "$t/run/bench" ] && break; sleep 0.1; done
echo "Wayland (Weston in Xvfb): $(measure wayland "$weston_pid" "$xvfb_pid")"
