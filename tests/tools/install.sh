#!/usr/bin/env bash
# kxtool install and uninstall against a sample ~/.xscreensaver: one line is
# added however often install runs, nothing else changes, uninstall restores
# the file byte for byte; a missing, linked, odd or oversized file is refused
# or left alone with a message.
set -euo pipefail
kxtool=$1
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
export HOME="$t/home"
unset XDG_DATA_HOME
mkdir -p "$HOME"
printf 'player\0package' > "$t/Lake.scr"

cat > "$t/sample" <<'XS'
# XScreenSaver Preferences File
timeout:	0:10:00
programs:							      \
				maze -root				    \n\
  - GL: 			superquadrics -root			    \n\
				"Phosphor"  phosphor -root -scale 2	    \n

pointerHysteresis:	10
XS
cp "$t/sample" "$HOME/.xscreensaver"
chmod 640 "$HOME/.xscreensaver"

"$kxtool" install "$t/Lake.scr" > "$t/out1"
"$kxtool" install "$t/Lake.scr" > "$t/out2"
installed="$HOME/.local/share/kxcsaver/Lake.scr"
cmp -s "$t/Lake.scr" "$installed" || fail "the screensaver was not copied"
[ -x "$installed" ] || fail "the copy is not executable"
[ "$(grep -c "$installed -root" "$HOME/.xscreensaver")" = 1 ] || fail "the programs line is not there exactly once"
grep -q "already lists" "$t/out2" || fail "the second install did not say it had nothing to do"
grep -q "XSECURELOCK_SAVER=$installed" "$t/out1" || fail "no xsecurelock hint"
[ "$(stat -c %a "$HOME/.xscreensaver")" = 640 ] || fail "the file's mode changed"
# The daemon reads the programs resource as lines joined at their backslashes.
sed -n '/^programs:/,/^$/p' "$HOME/.xscreensaver" | sed -n '2p' | grep -q "\"Lake\"  $installed -root \\\\n\\\\$" ||
  fail "the entry is not the first of the programs list"

"$kxtool" uninstall Lake > /dev/null
cmp -s "$t/sample" "$HOME/.xscreensaver" || fail "uninstall did not restore the file byte for byte"
[ ! -e "$installed" ] || fail "uninstall left the copy"

# No file yet: the copy is made, the file is not invented.
rm "$HOME/.xscreensaver"
"$kxtool" install "$t/Lake.scr" > "$t/out3"
[ ! -e "$HOME/.xscreensaver" ] || fail "install created ~/.xscreensaver"
grep -q "does not exist yet" "$t/out3" || fail "no advice when ~/.xscreensaver is missing"
"$kxtool" uninstall Lake > /dev/null

# Files that are not to be edited are refused and left untouched.
cp "$t/sample" "$t/target"
ln -s "$t/target" "$HOME/.xscreensaver"
if "$kxtool" install "$t/Lake.scr" 2> "$t/err"; then fail "a linked ~/.xscreensaver was edited"; fi
grep -q "symbolic link" "$t/err" || fail "no message for a link: $(cat "$t/err")"
cmp -s "$t/sample" "$t/target" || fail "the link's target changed"
rm "$HOME/.xscreensaver"
truncate -s 50M "$HOME/.xscreensaver"
if "$kxtool" install "$t/Lake.scr" 2> "$t/err"; then fail "a 50 MB ~/.xscreensaver was accepted"; fi
[ "$(stat -c %s "$HOME/.xscreensaver")" = 52428800 ] || fail "the large file changed"
rm "$HOME/.xscreensaver"
mkdir "$HOME/.xscreensaver"
if "$kxtool" install "$t/Lake.scr" 2> /dev/null; then fail "a folder named ~/.xscreensaver was accepted"; fi
[ ! -e "$installed" ] || fail "a refused install still copied the screensaver"
echo "install: ok"
