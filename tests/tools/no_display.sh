#!/usr/bin/env bash
# /S without a display: the show says it cannot run, removes its work folder
# and ends with a failure status at once, instead of playing unseen forever.
set -euo pipefail
kxtool=$1
demo=$2
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir "$t/project" "$t/tmp"
cp "$demo/hills.jpg" "$t/project/"
printf '[FileList]\r\nhills.jpg=1\r\n' > "$t/project/project.ini"
"$kxtool" pack "$t/project" -o "$t/Hills.scr"

for driver in "" offscreen dummy; do
  status=0
  # The sound server's client would keep a folder of its own in TMPDIR.
  env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER="$driver" ASAN_OPTIONS=detect_leaks=0 TMPDIR="$t/tmp" \
    PULSE_RUNTIME_PATH="$t/pulse" \
    timeout 20 "$t/Hills.scr" /S 2> "$t/err" || status=$?
  [ "$status" -ne 0 ] || fail "exit status 0 without a display (driver '$driver')"
  [ "$status" -ne 124 ] || fail "still running after 20 s without a display (driver '$driver')"
  grep -q "Unable to run screensaver." "$t/err" || fail "no message (driver '$driver'): $(cat "$t/err")"
  [ -z "$(ls -A "$t/tmp")" ] || fail "work folder left behind (driver '$driver')"
done
echo "no display: ok"
