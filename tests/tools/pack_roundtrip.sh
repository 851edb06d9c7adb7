#!/usr/bin/env bash
# Packs the demo project with kxtool, reads it back as the player would, and
# runs the packed screensaver; checks what each step leaves behind.
set -euo pipefail
kxtool=$1
demo=$2
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$kxtool" pack "$demo" -o "$t/Demo.scr"
[ -x "$t/Demo.scr" ] || fail "packed screensaver is not executable"

mkdir "$t/tmp"
TMPDIR="$t/tmp" "$kxtool" project "$t/Demo.scr" > "$t/project.txt"
work=$(sed -n '2s/lake\.kxp=TRUE$//p' "$t/project.txt")
[ -n "$work" ] || fail "first picture line: $(sed -n 2p "$t/project.txt")"
case "$work" in "$t/tmp/Demo"*/) ;; *) fail "work folder $work" ;; esac
for line in "[FileList]" "${work}hills.jpg=TRUE" "${work}night.jpg=TRUE" "${work}rings.jpg=TRUE" "${work}winter.kxp=TRUE" \
            "[Settings]" "ProductName=KX Demo Screensaver" "Duration=6" "Proportional=1" \
            "TransitionTime=1500" "PreviewFile=${work}lake.jpg" "Zoom=0" "CustomIcon=0" \
            "[UI]" "UIFile=${work}KXGUI.kxu"; do
  grep -qxF -- "$line" "$t/project.txt" || fail "missing line: $line"
done
[ "$(grep -c '=' "$t/project.txt")" -eq $((5 + 34 + 1)) ] || fail "line count"
[ -z "$(ls -A "$t/tmp")" ] || fail "work folder left behind: $(ls -A "$t/tmp")"

"$kxtool" unpack "$t/Demo.scr" "$t/un"
for f in lake.kxp lake.jpg hills.jpg night.jpg rings.jpg winter.kxp; do cmp -s "$t/un/$f" "$demo/$f" || fail "unpacked $f differs"; done
[ -f "$t/un/KXC.res" ] && [ -f "$t/un/KXGUI.kxu" ] || fail "entries missing"

# The packed player unpacks into its own work folder and removes it again:
# without a display, /C loads the window definitions and says why it cannot
# show the window.
status=0
env -u DISPLAY TMPDIR="$t/tmp" "$t/Demo.scr" /c 2> "$t/stderr" || status=$?
[ "$status" -eq 1 ] || fail "player exit status $status"
grep -q "needs a display" "$t/stderr" || fail "player message: $(cat "$t/stderr")"
[ -z "$(ls -A "$t/tmp")" ] || fail "player left its work folder"

# Errors name what is wrong and exit with status 1.
mkdir "$t/bad"
printf '[FileList]\r\nmissing.jpg=1\r\n' > "$t/bad/project.ini"
if "$kxtool" pack "$t/bad" -o "$t/bad.scr" 2> "$t/err"; then fail "pack of a missing file succeeded"; fi
grep -q missing.jpg "$t/err" || fail "error does not name the file"
[ ! -e "$t/bad.scr" ] || fail "partial output left"
set +e
"$kxtool" project "$t/nonexistent.scr" 2> /dev/null
[ $? -eq 1 ] || fail "project of a missing file"
echo "pack round trip: ok"
