# Sourced by the end-to-end tests that need an X screen. Defines:
#   start_xvfb WxH [Xvfb options]  starts a virtual screen on a free display
#                                  number, exports DISPLAY, and stops the
#                                  server when the test's shell exits
#   fail MESSAGE                   ends the test as failed
#   now                            milliseconds of the wall clock
#   rmse FILE REFERENCE            ImageMagick's normalised difference
#   wait_for_screen PID EXPECTED WxH+X+Y
#                                  waits until that area of the screen shows
#                                  the picture EXPECTED (normalised difference
#                                  below 0.02; the area is left in $t/shot.png),
#                                  failing when process PID ends first or
#                                  after about 20 seconds
# Needs $t, the test's scratch folder, to exist. Sets the variables the
# player needs under test: no leak report from system libraries, no sound.
fail() { echo "FAIL: $*"; exit 1; }
now() { echo $(( $(date +%s%N) / 1000000 )); }
rmse() { (compare -metric RMSE "$1" "$2" null: 2>&1 || true) | sed -n 's/.*(\(.*\)).*/\1/p'; }
export ASAN_OPTIONS=detect_leaks=0 SDL_AUDIODRIVER=dummy

start_xvfb() {
  local size=$1
  shift
  exec 3> "$t/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp "$@" > /dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$t/display" ] && break; sleep 0.1; done
  [ -s "$t/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$t/display")"
}

wait_for_screen() {
  local pid=$1 expected=$2 geometry=$3 err=
  for _ in $(seq 80); do
    sleep 0.25
    kill -0 "$pid" 2> /dev/null || fail "the program ended before $expected appeared"
    xwd -root -silent > "$t/screen.xwd" 2> /dev/null || continue
    convert "xwd:$t/screen.xwd" -crop "$geometry" +repage "$t/shot.png"
    err=$(rmse "$t/shot.png" "$expected")
    if [ -n "$err" ] && awk -v e="$err" 'BEGIN { exit !(e < 0.02) }'; then return 0; fi
  done
  fail "$expected did not appear (last difference: ${err:-none})"
}
