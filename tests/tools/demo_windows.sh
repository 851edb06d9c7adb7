#!/usr/bin/env bash
# The demo's committed window definitions, and the generic ones kxtool make
# carries (tools/windows/), are what demo/source/make_windows.py makes: the
# script run again gives the same forms, bindings and KXGUI.kxu byte for
# byte, and the definitions hold the two windows with their bindings.
set -euo pipefail
kxtool=$1
demo=$2
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
command -v python3 > /dev/null || { echo "no python3: skipped"; exit 77; }

python3 "$demo/source/make_windows.py" "$kxtool" "$t" --generic-dir "$t/generic"
for f in KXGUI.kxu source/windows/MainWindow.form source/windows/MainWindow.bindings.ini \
         source/windows/About.form source/windows/About.bindings.ini; do
  cmp -s "$t/$f" "$demo/$f" || fail "demo/$f differs from what make_windows.py makes: run it again"
done
generic=$demo/../tools/windows
for f in KXGUI.kxu MainWindow.form MainWindow.bindings.ini About.form About.bindings.ini; do
  cmp -s "$t/generic/$f" "$generic/$f" || fail "tools/windows/$f differs from what make_windows.py makes: run it again"
done

"$kxtool" windows "$demo/KXGUI.kxu" > "$t/windows"
printf '%s\n' \
  $'window\tMainWindow' \
  $'binding\tbtnWebsite\t0\t<Website>\t \t ' \
  $'binding\tPreview\t4\t \t \t ' \
  $'binding\thsPrevious\t3\t \t \t ' \
  $'binding\thsNext\t2\t \t \t ' \
  $'binding\thsPreview\t4\t \t \t ' \
  $'binding\thsSettings\t5\t \t \t ' \
  $'binding\thsWallpaper\t9\t \t \t ' \
  $'binding\thsAbout\t1\tAbout\t \t ' \
  $'binding\thsClose\t6\t \t \t ' \
  $'window\tAbout' \
  $'binding\tlbWebsite\t0\t<Website>\t \t ' \
  $'binding\tbtnOK\t6\t \t \t ' > "$t/want"
diff "$t/want" "$t/windows" || fail "windows of demo/KXGUI.kxu"

# The generic windows: no website, the names through their placeholders.
"$kxtool" windows "$generic/KXGUI.kxu" > "$t/windows"
grep -v -e btnWebsite -e lbWebsite "$t/want" | diff - "$t/windows" || fail "windows of tools/windows/KXGUI.kxu"
for w in MainWindow About; do
  "$kxtool" prepared "$generic/KXGUI.kxu" "$w" > "$t/generic-$w.txt"
  ! grep -q -e '<Website>' -e 'hills' "$t/generic-$w.txt" || fail "generic $w mentions the website or the demo"
  grep -qF "Caption = '<CompanyName>'" "$t/generic-$w.txt" || fail "generic $w does not name the publisher"
done
grep -qF "Caption = '<ScreensaverName>'" "$t/generic-MainWindow.txt" || fail "generic MainWindow does not name the screensaver"

# Every component of the windows is shown: bit 0 of each Tag is set.
for kxu in "$demo/KXGUI.kxu" "$generic/KXGUI.kxu"; do
  for w in MainWindow About; do
    "$kxtool" prepared "$kxu" "$w" > "$t/$w.txt"
    objects=$(grep -c '^ *object ' "$t/$w.txt")
    tags=$(grep -cE '^ *Tag = [0-9]*[13579]$' "$t/$w.txt")
    [ "$tags" -eq $((objects - 1)) ] || fail "$kxu $w: $objects objects but $tags shown by their Tag"
  done
done
echo "demo and generic windows: ok"
