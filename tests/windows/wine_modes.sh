#!/usr/bin/env bash
# The Windows build of the player under Wine on a virtual X screen:
#   /S shows the first picture over the whole screen and ends on a key with
#      status 0, its work folder under the Windows temporary folder removed;
#   /P waits for a 152 x 112 window of another program that shows itself
#      later, paints it and ends with status 0, its work folder removed;
#   /P on a window destroyed before it was shown ends with a failure;
#   /A hands the change to the system's password service and ends with
#      status 0 without unpacking anything.
# kxtool.exe beside the player packs the same bytes as the Linux kxtool.
# Skipped (77) unless CI or KX_WINDOWS_TESTS is set and the cross-built
# player, the cross compiler, Wine and the X tools exist.
#   wine_modes.sh KXTOOL KXCSAVER.EXE DEMO_DIR WINEPREFIX
set -euo pipefail
kxtool=$1
player=$2
demo=$3
prefix=$4
t=$(mktemp -d)
source "$(dirname "$0")/wine.sh"
cxx=x86_64-w64-mingw32-g++-posix
[ -f "$player" ] && command -v "$cxx" > /dev/null || exit 77
command -v xwd > /dev/null && command -v xdotool > /dev/null || exit 77
start_wine "$prefix" 800x600

"$cxx" -O1 -static -mconsole -o "$t/host_window.exe" "$(dirname "$0")/host_window.cpp"
mkdir "$t/project"
cp "$demo/lake.jpg" "$demo/night.jpg" "$t/project/"
printf '[FileList]\r\nlake.jpg=1\r\n[Default]\r\nStretch=1\r\nProportional=0\r\nDuration=60\r\n[Advance]\r\nPreviewFile=night.jpg\r\n' \
  > "$t/project/project.ini"
"$kxtool" pack "$t/project" -o "$t/Lake.scr" --player "$player"
"$wine" "$(dirname "$player")/kxtool.exe" pack "$t/project" -o "$t/LakeW.scr" --player "$player" ||
  fail "kxtool.exe pack ended with status $?"
cmp -s "$t/Lake.scr" "$t/LakeW.scr" || fail "kxtool.exe packed other bytes than kxtool"
rm "$t/LakeW.scr"

# The work folders of the runs: "Lake" and a number under the temporary
# folder of the Windows user.
work_folders() { find "$prefix/drive_c/users" -maxdepth 4 -type d -name 'Lake[0-9]*' 2> /dev/null || true; }
[ -z "$(work_folders)" ] || fail "a work folder of an earlier run is in the way: $(work_folders)"

# The show.
"$wine" "$t/Lake.scr" /S &
saver=$!
pids+=($saver)
convert "$t/project/lake.jpg" -resize '800x600!' "$t/lake.png"
wait_for_screen "$saver" "$t/lake.png" 800x600+0+0
[ -n "$(work_folders)" ] || fail "no work folder while the show runs"
xdotool key a
for _ in $(seq 50); do kill -0 "$saver" 2> /dev/null || break; sleep 0.1; done
if kill -0 "$saver" 2> /dev/null; then fail "the show did not end on a key"; fi
wait "$saver" || fail "/S ended with status $?"
[ -z "$(work_folders)" ] || fail "/S left its work folder: $(work_folders)"
echo "/S under Wine: ok"

# The preview into a window that shows itself after 2.5 s.
"$wine" "$t/host_window.exe" 152 112 2500 10000 > "$t/id" &
pids+=($!)
for _ in $(seq 200); do [ -s "$t/id" ] && break; sleep 0.05; done
id=$(tr -d '\r' < "$t/id")
[ -n "$id" ] || fail "no host window"
start=$(now)
"$wine" "$t/Lake.scr" /P "$id" || fail "/P ended with status $?"
waited=$(($(now) - start))
[ "$waited" -ge 2000 ] || fail "/P ended after $waited ms, before the window was shown"
# What /P paints is not checked on this screen: Wine accepts a program's
# drawing into another program's window through GetDC but never shows it (a
# plain FillRect from a second process stays invisible as well). The
# painting itself is checked pixel for pixel on a window of the test's own
# (GdiHostWindowTest).
[ -z "$(work_folders)" ] || fail "/P left its work folder"

# A window destroyed before it was shown ends the wait with a failure.
"$wine" "$t/host_window.exe" 152 112 300 2000 destroy > "$t/id2" &
pids+=($!)
for _ in $(seq 200); do [ -s "$t/id2" ] && break; sleep 0.05; done
id=$(tr -d '\r' < "$t/id2")
status=0
timeout 20 "$wine" "$t/Lake.scr" /P "$id" 2> /dev/null || status=$?
[ "$status" -ne 0 ] || fail "/P succeeded on a destroyed window"
[ "$status" -ne 124 ] || fail "/P kept waiting for a destroyed window"
[ -z "$(work_folders)" ] || fail "/P left its work folder after a destroyed window"
echo "/P under Wine: ok"

# The password change: Wine's service does nothing; nothing is unpacked.
"$wine" "$t/Lake.scr" /A 65540 || fail "/A ended with status $?"
[ -z "$(work_folders)" ] || fail "/A unpacked the package"
[ -z "$(find "$prefix/drive_c/users" -maxdepth 5 -name 'KXC.res' 2> /dev/null)" ] || fail "/A left packaged files behind"
echo "/A under Wine: ok"
