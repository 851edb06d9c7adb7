# Sourced by the tests that run Windows programs under Wine. Ends the test
# as skipped (77) unless CI or KX_WINDOWS_TESTS is set and Wine and Xvfb are
# there. Defines:
#   $wine, $wineserver    Debian's wine64 (not on PATH) and its server
#   start_wine PREFIX WxH  starts a virtual X screen (tests/tools/xvfb.sh) and
#                          sets Wine up on it with its prefix in PREFIX; the
#                          test's shell stops the server, Wine and the
#                          processes in $pids when it exits
# Needs $t, the test's scratch folder, to exist.
[ -n "${CI:-}${KX_WINDOWS_TESTS:-}" ] || exit 77
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
[ -x "$wine" ] && command -v Xvfb > /dev/null || exit 77
source "$(dirname "${BASH_SOURCE[0]}")/../tools/xvfb.sh"
xvfb_pid=
pids=()
wine_prefix=

wine_cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2> /dev/null || true; done
  [ -n "$wine_prefix" ] && WINEPREFIX="$wine_prefix" "$wineserver" -k 2> /dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  rm -rf "$t"
}

start_wine() {
  wine_prefix=$1
  trap wine_cleanup EXIT
  start_xvfb "$2"
  # No Mono or Gecko installer prompts, no desktop menu entries, no sound
  # drivers (the machine has no sound card; SDL falls back to silence).
  mkdir -p "$wine_prefix" "$t/tmp"
  export WINEPREFIX="$wine_prefix" WINEDEBUG=-all TMPDIR="$t/tmp"
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe,winealsa.drv,winepulse.drv=d"
}
