# Sourced by the end-to-end tests that need an X screen. Defines:
#   start_xvfb WxH [Xvfb options]  starts a virtual screen on a free display
#                                  number, exports DISPLAY, and stops the
#                                  server when the test's shell exits
#   fail MESSAGE                   ends the test as failed
#   now                            milliseconds of the wall clock
#   rmse FILE REFERENCE            ImageMagick's normalised difference
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
