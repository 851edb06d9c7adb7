#!/usr/bin/env bash
# The whole player as a user runs it: the demo, a water picture alone, a
# still picture alone and back-to-back transitions, each shown full screen
# under Xvfb for S seconds (default 20) in the plain window, in the
# exclusive mode and on the root window as a screensaver daemon's hack runs
# (-root), at W x H (default 1920 x 1080). Prints, over the measured
# span, the player's CPU time and the X server's (which copies what the
# player sends into the screen) as percentages of one core, read from /proc,
# and the frames per second the show drew and the player sent (a frame
# that matches the screen is not sent), with the megapixels sent per frame
# (from its KX_FRAME_STATS lines). Build the player in Release first:
#   cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DKX_TESTS=OFF && cmake --build build-rel
#   bash bench/bench_show.sh build-rel/kxtool [S] [WxH] [SHOWS]
# SHOWS picks some of "demo water still trans" (all by default).
set -euo pipefail
kxtool=$1
seconds=${2:-20}
size=${3:-1920x1080}
shows=${4:-demo water still trans}
repo=$(cd "$(dirname "$0")/.." && pwd)
t=$(mktemp -d)
xvfb_pid=
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null; rm -rf "$t"' EXIT
source "$repo/tests/tools/xvfb.sh"
unset ASAN_OPTIONS
start_xvfb "$size"

# pack NAME FILES... -- PROJECT-INI-LINES
pack() {
  local name=$1
  shift
  mkdir -p "$t/$name"
  while [ "$1" != "--" ]; do cp "$repo/demo/$1" "$t/$name/"; shift; done
  shift
  printf '%s\r\n' "$@" > "$t/$name/project.ini"
  "$kxtool" pack "$t/$name" -o "$t/$name.scr" > /dev/null
}
cp -r "$repo/demo" "$t/demo"
"$kxtool" pack "$t/demo" -o "$t/demo.scr" > /dev/null
pack water lake.kxp -- '[FileList]' 'lake.kxp=1' '[Default]' 'Duration=600'
pack still hills.jpg -- '[FileList]' 'hills.jpg=1' '[Default]' 'Duration=600'
pack trans hills.jpg night.jpg rings.jpg -- '[FileList]' 'hills.jpg=1' 'night.jpg=1' 'rings.jpg=1' \
  '[Default]' 'Duration=1' 'Transition=1' 'TransitionTime=4000' 'Random=1' 'ShowImageMode=1'

hz=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
stats() { tail -n1 "$t/stats" 2> /dev/null || echo "0 0 0 0"; }
# measure SCR MODE: MODE is plain, exclusive or root.
measure() {
  local scr=$1 mode=$2 word=/S
  printf '[Setting]\r\nDirectX=%s\r\nDirectXQuality=0\r\n' "$([ "$mode" = exclusive ] && echo 1 || echo 0)" \
    > "${scr%.scr}.ini"
  [ "$mode" = root ] && word=-root
  mkdir -p "$t/tmp"
  rm -f "$t/stats"
  KX_FRAME_STATS="$t/stats" TMPDIR="$t/tmp" "$scr" $word > /dev/null 2>&1 &
  local pid=$!
  sleep 3  # unpacking and the first picture are not what is measured
  local before after xbefore xafter sbefore safter
  before=$(cpu $pid) xbefore=$(cpu "$xvfb_pid") sbefore=$(stats)
  sleep "$seconds"
  after=$(cpu $pid) xafter=$(cpu "$xvfb_pid") safter=$(stats)
  kill $pid 2> /dev/null || true
  wait $pid 2> /dev/null || true
  awk -v a="$after" -v b="$before" -v xa="$xafter" -v xb="$xbefore" -v hz="$hz" -v s="$seconds" \
    -v sb="$sbefore" -v sa="$safter" 'BEGIN {
      split(sb, p, " "); split(sa, q, " ")
      given = q[2] - p[2]; sent = q[3] - p[3]; span = q[1] - p[1]
      mpx = sent > 0 ? (q[4] - p[4]) / sent / 1e6 : 0
      drawn = span > 0 ? given / span : 0; shown = span > 0 ? sent / span : 0
      printf "%5.1f %% %5.1f %% %3.0f/%3.0f fps %4.2f Mpx", (a - b) * 100 / hz / s, (xa - xb) * 100 / hz / s,
        drawn, shown, mpx }'
}
printf '%-7s %-38s %-38s %-38s\n' "" "plain: player, X, drawn/sent, sent" "exclusive: the same" "root: the same"
for name in $shows; do
  printf '%-7s %-38s %-38s %-38s\n' "$name" "$(measure "$t/$name.scr" plain)" "$(measure "$t/$name.scr" exclusive)" \
    "$(measure "$t/$name.scr" root)"
done
