#!/usr/bin/env bash
# The unit suites cross-built for Windows (BUILD/tests/test_*.exe), run one
# after the other under Wine on a virtual X screen (the desktop's windows
# need one). Prints one line per suite; fails when one fails.
# Skipped (77) unless CI or KX_WINDOWS_TESTS is set and the suites exist.
#   wine_suites.sh BUILD WINEPREFIX
set -euo pipefail
build=$1
prefix=$2
[ -n "${CI:-}${KX_WINDOWS_TESTS:-}" ] || exit 77
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
suites=("$build"/tests/test_*.exe)
[ -x "$wine" ] && [ -f "${suites[0]}" ] && command -v Xvfb > /dev/null || exit 77
t=$(mktemp -d)
xvfb_pid=
cleanup() {
  WINEPREFIX="$prefix" "$wineserver" -k 2> /dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
  rm -rf "$t"
}
trap cleanup EXIT
source "$(dirname "$0")/../tools/xvfb.sh"
start_xvfb 1024x768

# No Mono or Gecko installer prompts, no desktop menu entries, no sound
# drivers (the machine has no sound card; SDL falls back to silence).
mkdir -p "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all TMPDIR="$t"
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe,winealsa.drv,winepulse.drv=d"

failed=0
for suite in "${suites[@]}"; do
  name=$(basename "$suite" .exe)
  start=$(now)
  status=0
  out=$(cd "$build/tests" && timeout 900 "$wine" "$suite" 2>&1 | tr -d '\r') || status=$?
  seconds=$(( ($(now) - start) / 1000 ))
  passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\).*/\1/p' <<< "$out")
  skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?,.*/\1/p' <<< "$out")
  if [ "$status" -eq 0 ] && [ -n "$passed" ]; then
    echo "$name: ok (passed $passed, skipped ${skipped:-0}; $seconds s)"
  else
    echo "$name: FAILED with status $status ($seconds s)"
    grep -E '^\[  FAILED  \]|Failure$|^Expected|^  Actual|Which is' <<< "$out" | head -40 || true
    [ -n "$passed" ] || tail -20 <<< "$out"
    failed=1
  fi
done
exit $failed
