#!/usr/bin/env bash
# The demo's committed window definitions are what demo/source/make_windows.py
# makes: the script run again gives the same forms, bindings and KXGUI.kxu
# byte for byte, and the definitions hold the two windows with their bindings.
set -euo pipefail
kxtool=$1
demo=$2
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
command -v python3 > /dev/null || { echo "no python3: skipped"; exit 77; }

python3 "$demo/source/make_windows.py" "$kxtool" "$t"
for f in KXGUI.kxu source/windows/MainWindow.form source/windows/MainWindow.bindings.ini \
         source/windows/About.form source/windows/About.bindings.ini; do
  cmp -s "$t/$f" "$demo/$f" || fail "demo/$f differs from what make_windows.py makes: run it again"
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

# Every component of both windows is shown: bit 0 of each Tag is set.
for w in MainWindow About; do
  "$kxtool" prepared "$demo/KXGUI.kxu" "$w" > "$t/$w.txt"
  objects=$(grep -c '^ *object ' "$t/$w.txt")
  tags=$(grep -cE '^ *Tag = [0-9]*[13579]$' "$t/$w.txt")
  [ "$tags" -eq $((objects - 1)) ] || fail "$w: $objects objects but $tags shown by their Tag"
done
echo "demo windows: ok"
