#!/usr/bin/env bash
# kxtool install --idle swayidle|hypridle and uninstall against realistic
# configuration files of the two idle daemons: one entry is added however
# often install runs, the file's mode is kept, the lines it adds start the
# show and stop exactly that process, uninstall gives the file back byte for
# byte (whatever its last line looked like, and a file install created goes
# again); links, folders, huge, binary and read-only files are refused with a
# message before anything is copied, and stay as they were.
set -euo pipefail
kxtool=$1
fixtures=$2
t=$(mktemp -d)
pid= other=
# The test's own stand-in processes, by their ids, should a check fail.
trap 'for p in $pid $other; do kill "$p" 2> /dev/null || true; done; rm -rf "$t"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Quotes, blanks and a "#" in the path: each layer of quoting is exercised.
export HOME="$t/it's a #home"
unset XDG_DATA_HOME XDG_CONFIG_HOME
mkdir -p "$HOME"
installed="$HOME/.local/share/kxcsaver/Lake.scr"
# A stand-in screensaver that runs until it is stopped, whatever its arguments.
cp "$(command -v yes)" "$t/Lake.scr"

# daemon | XDG_CONFIG_HOME ("" for ~/.config) | file below it | fixture
cases=(
  "swayidle||swayidle/config|$fixtures/swayidle.config"
  "hypridle|$t/xdg config|hypr/hypridle.conf|$fixtures/hypridle.conf"
)

# The show and stop commands of the entry in the file, as the daemon hands
# them to the shell.
commands() {
  local daemon=$1 file=$2
  if [ "$daemon" = swayidle ]; then
    local line
    line=$(sed -n '/^# Lake:/{n;p}' "$file")
    # swayidle splits a line into words as the shell does.
    eval "set -- $line"
    [ "$#" = 5 ] && [ "$1" = timeout ] && [ "$4" = resume ] || fail "swayidle line of $# words: $line"
    show=$3
    stop=$5
  else
    local block
    block=$(sed -n '/^# Lake:/,/^}/p' "$file")
    [ "$(grep -c '^listener {$' <<< "$block")" = 1 ] || fail "no listener block of its own: $block"
    grep -q '^    timeout = 600$' <<< "$block" || fail "no timeout in $block"
    show=$(sed -n 's/^    on-timeout = //p' <<< "$block" | sed 's/##/#/g')
    stop=$(sed -n 's/^    on-resume = //p' <<< "$block" | sed 's/##/#/g')
  fi
}

for case in "${cases[@]}"; do
  IFS='|' read -r daemon config relative fixture <<< "$case"
  if [ -n "$config" ]; then export XDG_CONFIG_HOME=$config; else unset XDG_CONFIG_HOME; config="$HOME/.config"; fi
  file="$config/$relative"
  mkdir -p "$(dirname "$file")"

  # One entry, added once, the rest of the file as it was.
  cp "$fixture" "$file"
  chmod 640 "$file"
  "$kxtool" install --idle "$daemon" "$t/Lake.scr" > "$t/out1" || fail "$daemon: install failed: $(cat "$t/out1")"
  cp "$file" "$t/after1"
  "$kxtool" install --idle "$daemon" "$t/Lake.scr" > "$t/out2"
  cmp -s "$t/after1" "$file" || fail "$daemon: the second install changed the file"
  grep -q "already runs" "$t/out2" || fail "$daemon: the second install did not say it had nothing to do"
  # (The stop command spells the path as a pattern, "Lake\.scr".)
  [ "$(grep -c -F "/Lake.scr" "$file")" = 1 ] || fail "$daemon: the show is not started exactly once: $(cat "$file")"
  head -c "$(stat -c %s "$fixture")" "$file" | cmp -s - "$fixture" || fail "$daemon: the file's own lines changed"
  [ "$(stat -c %a "$file")" = 640 ] || fail "$daemon: the file's mode changed"
  [ "$(find "$HOME/.config" "$t/xdg config" -type f 2> /dev/null | wc -l)" = 1 ] ||
    fail "$daemon: files other than $file: $(find "$HOME/.config" "$t/xdg config" -type f 2> /dev/null)"

  # The lines run the installed file full screen, and the resume command
  # stops that process and no other (the same file's settings stay open).
  commands "$daemon" "$file"
  sh -c "$show" > /dev/null 2>&1 &
  pid=$!
  "$installed" /C > /dev/null &
  other=$!
  (sleep 20; kill -9 "$pid" 2> /dev/null) > /dev/null 2>&1 &
  watchdog=$!
  sh -c "$stop" || fail "$daemon: the resume command found nothing to stop: $stop"
  status=0
  { wait "$pid" || status=$?; } 2> /dev/null
  kill "$watchdog" 2> /dev/null || true
  wait "$watchdog" 2> /dev/null || true
  [ "$status" = 143 ] || fail "$daemon: the show did not end on the resume command's signal (status $status)"
  kill -0 "$other" 2> /dev/null || fail "$daemon: the resume command stopped another process of the file"
  kill "$other"
  { wait "$other" || true; } 2> /dev/null

  "$kxtool" uninstall Lake > "$t/out3"
  cmp -s "$fixture" "$file" || fail "$daemon: uninstall did not restore the file byte for byte"
  [ "$(stat -c %a "$file")" = 640 ] || fail "$daemon: uninstall changed the file's mode"

  # However the file ended, and when there was none.
  for shape in unterminated empty missing; do
    case $shape in
      unterminated) head -c -1 "$fixture" > "$file" ;;
      empty) : > "$file" ;;
      missing) rm "$file" ;;
    esac
    [ -e "$file" ] && cp "$file" "$t/before"
    "$kxtool" install --idle "$daemon" "$t/Lake.scr" > /dev/null
    [ "$(grep -c -F "/Lake.scr" "$file")" = 1 ] || fail "$daemon, $shape file: no entry"
    "$kxtool" uninstall Lake > /dev/null
    if [ "$shape" = missing ]; then
      [ ! -e "$file" ] || fail "$daemon: uninstall left the file install created"
    else
      cmp -s "$t/before" "$file" || fail "$daemon, $shape file: uninstall did not restore it byte for byte"
    fi
  done

  # Files not to be edited: refused with a message, before anything is
  # copied, and left as they were. kind | message | how the file is made
  refusals=(
    'link|symbolic link|cp "$fixture" "$t/target"; ln -s "$t/target" "$file"'
    'folder|not a regular file|mkdir "$file"'
    'huge|larger than|truncate -s 2M "$file"'
    'binary|not a text file|printf "timeout 300 swaylock\0\1\2\3" > "$file"'
    'read-only|not writable|cp "$fixture" "$file"; chmod 444 "$file"'
  )
  for refusal in "${refusals[@]}"; do
    IFS='|' read -r kind message make <<< "$refusal"
    rm -rf "$file" "$t/target"
    eval "$make"
    before=$(ls -ld --time-style=+%s.%N "$file"; [ -f "$file" ] && md5sum < "$file" || true)
    if "$kxtool" install --idle "$daemon" "$t/Lake.scr" > /dev/null 2> "$t/err"; then
      fail "$daemon: a $kind file was edited"
    fi
    grep -q "$message" "$t/err" || fail "$daemon: no message for a $kind file: $(cat "$t/err")"
    after=$(ls -ld --time-style=+%s.%N "$file"; [ -f "$file" ] && md5sum < "$file" || true)
    [ "$before" = "$after" ] || fail "$daemon: the $kind file changed"
    [ "$kind" != link ] || cmp -s "$fixture" "$t/target" || fail "$daemon: the link's target changed"
    [ ! -e "$installed" ] || fail "$daemon: a refused install ($kind) still copied the screensaver"
    # Uninstall says so and goes on.
    "$kxtool" uninstall Lake > /dev/null 2> "$t/err" || fail "$daemon: uninstall stopped at a $kind file"
    [ "$kind" = folder ] || grep -q "$message" "$t/err" || fail "$daemon: uninstall said nothing of a $kind file"
    chmod -R u+w "$file"
  done
  rm -rf "$file"
done

# Without --idle the lines are printed for both daemons, and no file is made.
"$kxtool" install "$t/Lake.scr" > "$t/out"
grep -q "^timeout 600 '.*/Lake.scr.* /S' resume 'pkill -x -f " "$t/out" || fail "no swayidle line printed"
grep -q "^    on-timeout = .*/Lake.scr'* /S$" "$t/out" || fail "no hypridle block printed"
[ -z "$(find "$HOME/.config" "$t/xdg config" -type f 2> /dev/null)" ] || fail "install without --idle wrote a file"
if "$kxtool" install --idle xautolock "$t/Lake.scr" 2> "$t/err"; then fail "an unknown daemon was accepted"; fi
grep -q "swayidle or hypridle" "$t/err" || fail "no message for an unknown daemon"
"$kxtool" uninstall Lake > /dev/null
echo "install_idle: ok"
