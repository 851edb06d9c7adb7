#!/usr/bin/env bash
# Window definitions through kxtool: form --json on a form with every kind of
# value, a malformed form, and kxu-make -> windows -> kxu-split -> kxu-make
# giving the same file again.
set -euo pipefail
kxtool=$1
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

printf '%s\r\n' \
  "object Small: TForm" \
  "  Left = -3" \
  "  Ratio = 1.5S" \
  "  Alignment = taCenter" \
  "  Caption = 'It''s'#9'x' +" \
  $'    \' caf\xe9\'' \
  "  Font.Style = [fsBold]" \
  "  Items = ('a' 1)" \
  "  Data = {0A ff}" \
  "  Cols = <item [2] W = 1 end>" \
  "  object TTimer [1]" \
  "  end" \
  "end" > "$t/small.form"
want='{"kind":"object","name":"Small","class":"TForm","index":null,"props":[["Left",{"type":"int","value":-3}],["Ratio",{"type":"float","value":"1.5S"}],["Alignment",{"type":"ident","value":"taCenter"}],["Caption",{"type":"string","value":"It'"'"'s\tx café"}],["Font.Style",{"type":"set","value":["fsBold"]}],["Items",{"type":"list","value":[{"type":"string","value":"a"},{"type":"int","value":1}]}],["Data",{"type":"binary","value":"0aff"}],["Cols",{"type":"collection","value":[{"index":2,"props":[["W",{"type":"int","value":1}]]}]}]],"children":[{"kind":"object","name":"","class":"TTimer","index":1,"props":[],"children":[]}]}'
got=$("$kxtool" form "$t/small.form" --json)
[ "$got" = "$want" ] || fail "form --json: $got"

printf 'object Bad: TForm\n  Caption = '"'"'open\nend\n' > "$t/bad.form"
status=0
"$kxtool" form "$t/bad.form" --json > "$t/out" 2> "$t/err" || status=$?
[ "$status" = 1 ] || fail "malformed form: status $status"
grep -q "line 2, column 13: unterminated string" "$t/err" || fail "malformed form: $(cat "$t/err")"
[ ! -s "$t/out" ] || fail "malformed form printed a tree"

printf 'object MainWindow: TfmForm\n  Caption = '"'"'<ScreensaverName>'"'"'\n  OnShow = FormShow\n  Visible = True\n  object Label1: TLabel\n    Visible = False\n  end\nend\n' > "$t/main.form"
printf '[Label1]\nAction=1\nParam1=About\n[Close]\nAction=265\nParam1=a\\b\n' > "$t/main.ini"
printf 'object About: TForm\nend\n' > "$t/about.form"
"$kxtool" kxu-make "$t/main.form:$t/main.ini" "$t/about.form" -o "$t/one.kxu"
printf 'window\tMainWindow\nbinding\tLabel1\t1\tAbout\t \t \nbinding\tClose\t9\ta\\\\b\t \t \nwindow\tAbout\n' > "$t/want"
"$kxtool" windows "$t/one.kxu" > "$t/got"
diff "$t/want" "$t/got" || fail "windows"

"$kxtool" prepared "$t/one.kxu" mainwindow > "$t/got"
printf 'object MainWindow: TfmKXConfigWindow\n  Caption = '"'"'<ScreensaverName>'"'"'\n  object Label1: TLabel\n    Visible = False\n  end\nend\n' > "$t/want"
diff "$t/want" "$t/got" || fail "prepared"

"$kxtool" kxu-split "$t/one.kxu" -o "$t/split"
[ "$(cd "$t/split" && ls | tr '\n' ' ')" = "01-MainWindow.bindings.ini 01-MainWindow.form 02-About.form " ] \
  || fail "split files: $(ls "$t/split")"
"$kxtool" kxu-make "$t/split/01-MainWindow.form:$t/split/01-MainWindow.bindings.ini" "$t/split/02-About.form" -o "$t/two.kxu"
cmp "$t/one.kxu" "$t/two.kxu" || fail "kxu-split and kxu-make do not give the same file"

# The same definitions inside a screensaver.
mkdir "$t/project"
printf '[General]\r\nProductName=Small\r\n' > "$t/project/project.ini"
cp "$t/one.kxu" "$t/project/KXGUI.kxu"
"$kxtool" pack "$t/project" -o "$t/Small.scr"
TMPDIR="$t" "$kxtool" windows "$t/Small.scr" | head -1 | grep -qx "window	MainWindow" || fail "windows of a screensaver"
[ -z "$(find "$t" -maxdepth 1 -name 'Small[0-9-]*' -type d)" ] || fail "work folder left behind"

# A form that does not parse is not packed into definitions.
status=0
"$kxtool" kxu-make "$t/bad.form" -o "$t/bad.kxu" 2> "$t/err" || status=$?
[ "$status" = 1 ] && grep -q "line 2" "$t/err" || fail "kxu-make took a malformed form"
echo "ok"
