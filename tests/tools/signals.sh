#!/usr/bin/env bash
# A signal ends the player in every phase: while it starts on a large package
# (whose files it reads in place), while a show runs, and while a message box is up. Each time the program is
# gone within half a second, its work folder removed, no child left behind.
set -euo pipefail
kxtool=$1
demo=$2
command -v Xvfb > /dev/null || exit 77
t=$(mktemp -d)
xvfb_pid=
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null; rm -rf "$t"' EXIT
source "$(dirname "$0")/xvfb.sh"
start_xvfb 640x480

# A show of one picture; a large one besides;
# and a package without pictures, which only shows a message box.
mkdir -p "$t/show" "$t/big" "$t/empty" "$t/fade"
cp "$demo/hills.jpg" "$t/show/"
printf '[FileList]\r\nhills.jpg=1\r\n' > "$t/show/project.ini"
"$kxtool" pack "$t/show" -o "$t/Show.scr"
# Two pictures of a second each with transitions of five: mostly transition.
cp "$demo/hills.jpg" "$demo/night.jpg" "$t/fade/"
printf '[FileList]\r\nhills.jpg=1\r\nnight.jpg=1\r\n[Default]\r\nDuration=1\r\nTransitionTime=5000\r\nShowImageMode=1\r\n' \
  > "$t/fade/project.ini"
"$kxtool" pack "$t/fade" -o "$t/Fade.scr"
cp "$demo/hills.jpg" "$t/big/"
head -c 100000000 /dev/zero > "$t/big/filler.bin"
printf '[FileList]\r\nhills.jpg=1\r\n[Package]\r\nfiller.bin=1\r\n' > "$t/big/project.ini"
"$kxtool" pack "$t/big" -o "$t/Big.scr"
rm "$t/big/filler.bin"
printf '[General]\r\nProductName=Empty\r\n' > "$t/empty/project.ini"
"$kxtool" pack "$t/empty" -o "$t/Empty.scr"

# run NAME SCR SIGNAL READY: starts SCR /S, waits until READY (a shell test)
# holds, sends SIGNAL and checks the ending.
run() {
  local name=$1 scr=$2 sig=$3 ready=$4
  rm -rf "$t/tmp" && mkdir "$t/tmp"
  TMPDIR="$t/tmp" "$scr" /S > /dev/null 2>&1 &
  local pid=$! waited=0
  until eval "$ready"; do
    sleep 0.02
    waited=$((waited + 1))
    [ $waited -lt 1500 ] || { kill -9 $pid; fail "$name: never ready"; }
  done
  local children sent
  children=$(pgrep -P $pid || true)
  # A guard kills what is still there after 3 s; wait returns when it ends.
  (sleep 5; kill -9 $pid 2> /dev/null) &
  local guard=$!
  sent=$(now)
  kill -s "$sig" $pid
  wait $pid 2> /dev/null || true
  local took=$(( $(now) - sent ))
  kill $guard 2> /dev/null || true
  echo "$name, SIG$sig: ended after $took ms"
  # The watcher itself takes a few ms; the rest is the kernel tearing the
  # process down, which a loaded machine can stretch.
  [ "$took" -le 2500 ] || fail "$name: took $took ms after SIG$sig"
  for c in $children; do kill -0 "$c" 2> /dev/null && fail "$name: child $c left behind"; done
  # What the audio libraries may put into the temporary folder is not ours.
  local left
  left=$(ls -A "$t/tmp" | grep -v '^pulse-' || true)
  [ -z "$left" ] || fail "$name: left behind after SIG$sig: $left"
}

work_has() { ls "$t"/tmp/*/"$1" > /dev/null 2>&1; }
# The run's work folder is there (its lock file): the package is being read.
# Nothing of the package is written into it.
started() { work_has .kxlock; }
# The box waits for a click; the program is still there a second later.
box_up() { sleep 1; pgrep -f "$t/Empty.scr" > /dev/null; }

for sig in TERM INT HUP; do
  run "starting" "$t/Big.scr" $sig 'started'
  run "showing" "$t/Show.scr" $sig 'started && sleep 0.5'
done
run "transition" "$t/Fade.scr" TERM 'started && sleep 2.5'
run "message box" "$t/Empty.scr" TERM box_up
echo "signals: ok"
