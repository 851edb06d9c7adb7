#!/usr/bin/env bash
# kxtool install writes an applications menu entry that desktop-file-validate
# accepts: "<product> settings", the installed file run with /C (quoted as
# the entry format wants for an awkward name), the settings categories, and
# an icon made from the preview picture (or the first picture of the show) in
# the user's icon theme, at 256 x 256 with the picture's proportions kept;
# uninstall removes both. XDG_DATA_HOME is honoured.
set -euo pipefail
tests_tools=$(cd "$(dirname "$0")" && pwd)
kxtool=$1
demo=$2
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
export HOME="$t/home"
export XDG_DATA_HOME="$t/data home"
unset XDG_CONFIG_HOME
mkdir -p "$HOME"
validate=$(command -v desktop-file-validate || true)
[ -n "$validate" ] || echo "desktop-file-validate is missing: the entries are checked without it"

"$kxtool" pack "$demo" -o "$t/Demo.scr"
cp "$t/Demo.scr" "$t/My \$aver (2) 100%.scr"
# A project without a preview picture whose show starts with a photo, named
# in Windows-1252 as an author's Windows system writes it.
cp -r "$demo" "$t/project"
sed -i -e '/^PreviewFile=/d' -e '/^lake.kxp=1/d' -e 's/^ProductName=.*/ProductName=Caf\xe9 Cr\xe8me/' \
  "$t/project/project.ini"
"$kxtool" pack "$t/project" -o "$t/NoPreview.scr"
printf 'player\0no package' > "$t/Plain.scr"

# The icon's size, and the alpha of a few pixels (x,y) of the PNG.
png_alpha() {
  PYTHONPATH="$tests_tools" python3 - "$@" <<'PY'
import sys
from png_rows import read_png
w, h, depth, colour, bpp, rows = read_png(sys.argv[1])
assert depth == 8 and colour == 6, (depth, colour)
out = ['%dx%d' % (w, h)]
for xy in sys.argv[2:]:
    x, y = map(int, xy.split(','))
    out.append(str(rows[y][x * 4 + 3]))
print(' '.join(out))
PY
}

apps="$XDG_DATA_HOME/applications"
icons="$XDG_DATA_HOME/icons/hicolor/256x256/apps"
# source | entry and icon name | Name | Exec | icon ("" for the standard one)
# (The data folder's blank puts every path in quotes; in them "$" is escaped
# and the escape's backslash is doubled as every backslash of the file is.)
cases=(
  "Demo.scr|kxcsaver-Demo|KX Demo Screensaver settings|\"$XDG_DATA_HOME/kxcsaver/Demo.scr\" /C|kxcsaver-Demo"
  "My \$aver (2) 100%.scr|kxcsaver-My_20_24aver_20_282_29_20100_25|KX Demo Screensaver settings|\"$XDG_DATA_HOME/kxcsaver/My \\\\\$aver (2) 100%%.scr\" /C|kxcsaver-My_20_24aver_20_282_29_20100_25"
  "NoPreview.scr|kxcsaver-NoPreview|Café Crème settings|\"$XDG_DATA_HOME/kxcsaver/NoPreview.scr\" /C|kxcsaver-NoPreview"
  "Plain.scr|kxcsaver-Plain|Plain settings|\"$XDG_DATA_HOME/kxcsaver/Plain.scr\" /C|"
)
for case in "${cases[@]}"; do
  IFS='|' read -r source base name exec icon <<< "$case"
  "$kxtool" install "$t/$source" > "$t/out" || fail "$source: install failed"
  entry="$apps/$base.desktop"
  [ -f "$entry" ] || fail "$source: no entry $entry: $(ls -R "$XDG_DATA_HOME")"
  grep -q "^\[Desktop Entry\]$" "$entry" || fail "$source: no group header"
  for line in "Type=Application" "Name=$name" "Exec=$exec" "Categories=Settings;DesktopSettings;" \
              "TryExec=$XDG_DATA_HOME/kxcsaver/${source}" "Icon=${icon:-preferences-desktop-screensaver}"; do
    grep -qxF "$line" "$entry" || fail "$source: no line '$line' in $(cat "$entry")"
  done
  if [ -n "$validate" ]; then
    "$validate" "$entry" > "$t/validate" 2>&1 || fail "$source: desktop-file-validate: $(cat "$t/validate")"
  fi
  if [ -n "$icon" ]; then
    # 800 x 600 pictures: 256 x 192, centred between transparent bands of 32 rows.
    got=$(png_alpha "$icons/$icon.png" 128,0 128,31 128,32 128,128 0,100 255,223 128,224 128,255)
    [ "$got" = "256x256 0 0 255 255 255 255 0 0" ] || fail "$source: the icon is not the fitted picture: $got"
  else
    [ -z "$(ls "$icons" 2> /dev/null)" ] || fail "$source: an icon without a picture: $(ls "$icons")"
  fi
  grep -q "Added \"$name\" to the applications menu" "$t/out" || fail "$source: install did not say it: $(cat "$t/out")"

  "$kxtool" uninstall "${source%.scr}" > /dev/null
  [ ! -e "$entry" ] || fail "$source: uninstall left the entry"
  [ -z "$(ls "$icons" 2> /dev/null)" ] || fail "$source: uninstall left the icon: $(ls "$icons")"
done
echo "install_menu: ok"
