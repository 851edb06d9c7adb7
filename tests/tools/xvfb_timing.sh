#!/usr/bin/env bash
# Transitions on a real X screen last about their planned time: a show of
# three pictures, one second each with one-second transitions, changes
# picture about every two seconds. The screen's centre is sampled and the
# moments it turns fully into each picture's colour are the changes.
set -euo pipefail
kxtool=$1
command -v Xvfb > /dev/null && command -v xwd > /dev/null && command -v convert > /dev/null || exit 77
t=$(mktemp -d)
xvfb_pid=
saver=
cleanup() {
  [ -n "$saver" ] && kill "$saver" 2> /dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  rm -rf "$t"
}
trap cleanup EXIT
source "$(dirname "$0")/xvfb.sh"

w=1920 h=1080
mkdir "$t/project" "$t/tmp"
convert -size ${w}x${h} xc:'#c80000' "$t/project/a.jpg"
convert -size ${w}x${h} xc:'#00c800' "$t/project/b.jpg"
convert -size ${w}x${h} xc:'#0000c8' "$t/project/c.jpg"
printf '[FileList]\r\na.jpg=1\r\nb.jpg=1\r\nc.jpg=1\r\n[Default]\r\nStretch=0\r\nShowImageMode=1\r\nDuration=1\r\nTransition=1\r\nTransitionTime=1000\r\n' \
  > "$t/project/project.ini"
"$kxtool" pack "$t/project" -o "$t/Timing.scr"

start_xvfb ${w}x${h}

TMPDIR="$t/tmp" "$t/Timing.scr" /S 2> "$t/saver.err" &
saver=$!

# The centre's colour as a word: red, green, blue or other.
colour() {
  xwd -root -silent 2> /dev/null | convert xwd:- -format "%[fx:int(255*p{$((w / 2)),$((h / 2))}.r)] %[fx:int(255*p{$((w / 2)),$((h / 2))}.g)] %[fx:int(255*p{$((w / 2)),$((h / 2))}.b)]" info: 2> /dev/null |
    awk '{ if ($1 > 180 && $2 < 30 && $3 < 30) print "red"; else if ($2 > 180 && $1 < 30 && $3 < 30) print "green";
           else if ($3 > 180 && $1 < 30 && $2 < 30) print "blue"; else print "other" }'
}

# A picture has come when the centre first shows its colour; some effects
# reach the centre early, so only the next picture of the order counts.
declare -A next=([red]=green [green]=blue [blue]=red)
# The count starts with the first picture: a slow start (a busy machine, the
# sanitizers) is not what this test measures.
for _ in $(seq 300); do
  [ "$(colour)" = red ] && break
  kill -0 "$saver" 2> /dev/null || fail "the show ended before its first picture: $(cat "$t/saver.err")"
  sleep 0.1
done
[ "$(colour)" = red ] || fail "no first picture within 30 s: $(cat "$t/saver.err")"
expected=green changes=(0)
start=$(date +%s%N)
while [ $(( ($(date +%s%N) - start) / 1000000 )) -lt 16000 ]; do
  if [ "$(colour)" = "$expected" ]; then
    changes+=($(( ($(date +%s%N) - start) / 1000000 )))
    expected=${next[$expected]}
  fi
done
kill "$saver" 2> /dev/null || true
wait "$saver" 2> /dev/null || true
saver=

echo "picture changes at (ms): ${changes[*]}"
[ "${#changes[@]}" -ge 4 ] || fail "only ${#changes[@]} pictures in 16 s: $(cat "$t/saver.err")"
# The first change is the first picture; the periods follow.
n=$(( ${#changes[@]} - 1 ))
period=$(( (changes[n] - changes[1]) / (n - 1) ))
echo "mean period: $period ms (planned: about 2000)"
[ "$period" -le 3300 ] || fail "a picture change every $period ms"
echo "transition timing on a virtual X screen: ok"
