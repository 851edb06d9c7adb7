#!/usr/bin/env bash
# The unit suites cross-built for Windows (BUILD/tests/test_*.exe), run one
# after the other under Wine on a virtual X screen (the desktop's windows
# need one). Prints one line per suite; fails when one fails.
# Skipped (77) unless CI or KX_WINDOWS_TESTS is set and the suites exist.
#   wine_suites.sh BUILD WINEPREFIX
set -euo pipefail
build=$1
prefix=$2
t=$(mktemp -d)
source "$(dirname "$0")/wine.sh"
suites=("$build"/tests/test_*.exe)
[ -f "${suites[0]}" ] || exit 77
start_wine "$prefix" 1024x768

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
