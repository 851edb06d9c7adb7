#!/usr/bin/env bash
# The whole player as a user runs it: the demo, a water picture alone and a
# still picture alone, each shown full screen under Xvfb for S seconds (default
# 20) in the plain window and in the exclusive mode, at W x H (default
# 1920 x 1080). Prints the player's CPU time as a percentage of one core, read
# from /proc. Build the player in Release first:
#   cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DKX_TESTS=OFF && cmake --build build-rel
#   bash bench/bench_show.sh build-rel/kxtool [S] [WxH]
set -euo pipefail
kxtool=$1
seconds=${2:-20}
size=${3:-1920x1080}
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

hz=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
measure() {
  local scr=$1 exclusive=$2
  printf '[Setting]\r\nDirectX=%s\r\nDirectXQuality=0\r\n' "$exclusive" > "${scr%.scr}.ini"
  mkdir -p "$t/tmp"
  TMPDIR="$t/tmp" "$scr" /S > /dev/null 2>&1 &
  local pid=$!
  sleep 3  # unpacking and the first picture are not what is measured
  local before after
  before=$(cpu $pid)
  sleep "$seconds"
  after=$(cpu $pid)
  kill $pid 2> /dev/null || true
  wait $pid 2> /dev/null || true
  awk -v a="$after" -v b="$before" -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%5.1f %% of a core", (a - b) * 100 / hz / s }'
}
printf '%-8s %-18s %-18s\n' show plain exclusive
for name in demo water still; do
  printf '%-8s %-18s %-18s\n' "$name" "$(measure "$t/$name.scr" 0)" "$(measure "$t/$name.scr" 1)"
done
