#!/bin/bash
# kxtool effect end to end: frames from two small PNGs, the list, bad numbers.
set -euo pipefail
kxtool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# 6 x 4 and 5 x 4 opaque RGB pictures.
echo 'iVBORw0KGgoAAAANSUhEUgAAAAYAAAAECAIAAAAiZtkUAAAAPElEQVR4nA3IQQEAMAgDsb5PCSIQgZzKQURFIGvLM5IoMcJixQmpqWYaN9tc/zJlxtisOf8KFSY4bLjwACryEsFtT4AdAAAAAElFTkSuQmCC' | base64 -d > "$dir/old.png"
echo 'iVBORw0KGgoAAAANSUhEUgAAAAYAAAAECAIAAAAiZtkUAAAAO0lEQVR4nA3IMQEAMAgDwShBBDNKmCMCJdH0strxTkiUGLHiRL7VVDPNNtekf5kyY9aciX+FChM2XEgeYzAg0aCYPC0AAAAASUVORK5CYII=' | base64 -d > "$dir/new.png"
echo 'iVBORw0KGgoAAAANSUhEUgAAAAUAAAAECAIAAADJUWIXAAAAEElEQVR4nGNgZGJGRgwk8gEPGAB5YDN3CAAAAABJRU5ErkJggg==' | base64 -d > "$dir/small.png"

fail() { echo "FAIL: $*" >&2; exit 1; }

# Different effects agree where they must: all old at 0 %, all new at 100 %.
"$kxtool" effect 8 0 "$dir/old.png" "$dir/new.png" "$dir/a.png"
"$kxtool" effect 131 0 "$dir/old.png" "$dir/new.png" "$dir/b.png"
"$kxtool" effect 8 0 "$dir/old.png" "$dir/old.png" "$dir/c.png"
cmp -s "$dir/a.png" "$dir/b.png" || fail "0 % frames differ"
cmp -s "$dir/a.png" "$dir/c.png" || fail "0 % frame is not the old picture"
"$kxtool" effect 3 100 "$dir/old.png" "$dir/new.png" "$dir/a.png" --seed 7
"$kxtool" effect 56 100 "$dir/new.png" "$dir/new.png" "$dir/b.png"
cmp -s "$dir/a.png" "$dir/b.png" || fail "100 % frame is not the new picture"
# Half way, a reveal is neither picture.
"$kxtool" effect 8 50 "$dir/old.png" "$dir/new.png" "$dir/a.png"
cmp -s "$dir/a.png" "$dir/b.png" && fail "50 % frame is the new picture"
cmp -s "$dir/a.png" "$dir/c.png" && fail "50 % frame is the old picture"

[ "$("$kxtool" effect --list | wc -l)" = 169 ] || fail "list is not 169 lines"
[ "$("$kxtool" effect --list | sed -n 136p)" = "$(printf '136\tPush and sqeeze down')" ] || fail "list line 136"

for n in 0 170 -1; do
  if "$kxtool" effect "$n" 50 "$dir/old.png" "$dir/new.png" "$dir/x.png" 2>"$dir/err"; then fail "effect $n accepted"; fi
  [ -s "$dir/err" ] || fail "no message for effect $n"
done
if "$kxtool" effect 8 50 "$dir/old.png" "$dir/small.png" "$dir/x.png" 2>/dev/null; then fail "size mismatch accepted"; fi
[ ! -e "$dir/x.png" ] || fail "a frame was written after an error"
echo ok
