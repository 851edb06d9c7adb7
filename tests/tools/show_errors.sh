#!/usr/bin/env bash
# kxtool show prints the errors a show drops and carries on from on stderr,
# one line each, while the show goes on: a picture that does not decode is
# passed over, a picture file's sound that is not a sound stays silent.
set -euo pipefail
kxtool=$1
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/bmp.sh"
cd "$t"

bmp pic.bmp 102030 405060 708090 a0b0c0 c0a080 806040 204060 80a0c0
printf 'RIFF and then nothing of a sound' > broken.wav
printf 'not a picture' > broken.jpg
printf '[Picture]\nPicture=pic.bmp\n[Sound1]\nPath=broken.wav\nPlayMode=0\n' > a.ini
"$kxtool" kxp-make a.ini -o a.kxp
mkdir p
mv a.kxp broken.wav broken.jpg p/  # the sound is found in the work folder only
printf '[FileList]\na.kxp=1\nbroken.jpg=1\n[Default]\nDuration=1\nShowImageMode=1\nTransition=0\nSound=1\n' > p/project.ini
printf '[Package]\nbroken.wav=1\n' >> p/project.ini
"$kxtool" pack p -o Show.scr --player "$kxtool"

"$kxtool" show Show.scr --screen 40x30 --seconds 3 -o out --seed 1 > events.txt 2> errors.txt \
  || fail "the show failed: $(cat errors.txt)"
grep -Eq '^[0-9]+ error sound: .*/broken\.wav: not a WAV sound' errors.txt || fail "no sound error: $(cat errors.txt)"
grep -Eq '^[0-9]+ error show: File: .*/broken\.jpg: ' errors.txt || fail "no picture error: $(cat errors.txt)"
# One line per error, every line an error; nothing of them among the events.
if grep -Evq '^[0-9]+ error (show|sound|music): ' errors.txt; then fail "stray lines: $(cat errors.txt)"; fi
if grep -q 'error' events.txt; then fail "errors among the events"; fi
# The show went on: the picture file stayed and the show ended when asked.
grep -Eq '^0 picture 0 .*/a\.kxp$' events.txt || fail "first picture: $(cat events.txt)"
grep -Eq '^3[0-9]{3} end$' events.txt || fail "end: $(cat events.txt)"
echo ok
