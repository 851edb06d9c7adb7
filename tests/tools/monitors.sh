#!/usr/bin/env bash
# /S on a screen split into two monitors of different sizes: each monitor
# shows the picture fitted to its own size, none stays black. -root on that
# screen shows the same: the primary's show, fitted onto the other monitor,
# and black where no monitor is; no picture straddles the seam.
set -euo pipefail
kxtool=$1
set_monitors=$2
demo=$3
command -v Xvfb > /dev/null && command -v xwd > /dev/null && command -v xdotool > /dev/null || exit 77
t=$(mktemp -d)
xvfb_pid=
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null; rm -rf "$t"' EXIT
source "$(dirname "$0")/xvfb.sh"
start_xvfb 1440x600 -noreset
# The monitors live until the server resets, which -noreset prevents.
"$set_monitors" 800x600+0+0 640x480+800+0

mkdir "$t/project" "$t/tmp"
cp "$demo/hills.jpg" "$t/project/"
printf '[FileList]\r\nhills.jpg=1\r\n[Default]\r\nStretch=1\r\nProportional=0\r\nDuration=60\r\n' > "$t/project/project.ini"
"$kxtool" pack "$t/project" -o "$t/Hills.scr"
TMPDIR="$t/tmp" "$t/Hills.scr" /S > /dev/null 2>&1 &
saver=$!

convert "$demo/hills.jpg" -resize '800x600!' "$t/a.png"
convert "$demo/hills.jpg" -resize '640x480!' "$t/b.png"
ok=
for _ in $(seq 100); do
  sleep 0.2
  xwd -root -silent 2> /dev/null | convert xwd:- "$t/screen.png" 2> /dev/null || continue
  convert "$t/screen.png" -crop 800x600+0+0 +repage "$t/sa.png"
  convert "$t/screen.png" -crop 640x480+800+0 +repage "$t/sb.png"
  ea=$(rmse "$t/sa.png" "$t/a.png")
  eb=$(rmse "$t/sb.png" "$t/b.png")
  if [ -n "$ea" ] && [ -n "$eb" ] && awk -v a="$ea" -v b="$eb" 'BEGIN { exit !(a < 0.03 && b < 0.05) }'; then ok=1; break; fi
done
echo "monitor differences: ${ea:-none} ${eb:-none}"
[ -n "$ok" ] || fail "the monitors do not both show the picture"
xdotool mousemove 900 100 sleep 0.2 mousemove 1000 300 click 1
for _ in $(seq 50); do kill -0 $saver 2> /dev/null || break; sleep 0.1; done
if kill -0 $saver 2> /dev/null; then kill $saver; fail "input on the second monitor did not end the show"; fi
[ -z "$(ls -A "$t/tmp" | grep -v '^pulse-' || true)" ] || fail "work folder left behind"

# The show on the root window itself, as a daemon without a window of its own runs it.
convert -size 640x120 xc:black "$t/black.png"
TMPDIR="$t/tmp" "$t/Hills.scr" -root > /dev/null 2>&1 &
saver=$!
ok=
for _ in $(seq 40); do
  sleep 0.2
  xwd -root -silent 2> /dev/null | convert xwd:- "$t/screen.png" 2> /dev/null || continue
  convert "$t/screen.png" -crop 800x600+0+0 +repage "$t/sa.png"
  convert "$t/screen.png" -crop 640x480+800+0 +repage "$t/sb.png"
  convert "$t/screen.png" -crop 640x120+800+480 +repage "$t/sc.png"
  ea=$(rmse "$t/sa.png" "$t/a.png")
  eb=$(rmse "$t/sb.png" "$t/b.png")
  ec=$(rmse "$t/sc.png" "$t/black.png")
  if [ -n "$ea" ] && [ -n "$eb" ] && [ -n "$ec" ] &&
    awk -v a="$ea" -v b="$eb" -v c="$ec" 'BEGIN { exit !(a < 0.03 && b < 0.05 && c < 0.001) }'; then
    ok=1
    break
  fi
done
echo "root window differences: ${ea:-none} ${eb:-none} ${ec:-none}"
kill -TERM $saver 2> /dev/null || true
wait $saver 2> /dev/null || true
[ -n "$ok" ] || fail "-root does not show the picture on each monitor"
echo "two monitors: ok"
