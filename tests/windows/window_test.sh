#!/usr/bin/env bash
# The Windows editor in a real window: Wine draws it on an X server of the
# test's own (Xvfb) and xdotool clicks and types, in a Wine prefix of the
# test's own:
#   window_test.sh BUILD_DIR SOURCE_DIR WINE_RUN
# A set named in Polish, given on the command line, is drawn on and saved
# with Ctrl+S, and saved as a copy through Windows' save dialog; opened
# again, "Testuj gre" hands the emulator (a stand-in in
# a folder with a space and a Polish letter, from ZELBUN_EMULATOR) a test
# image of exactly the saved bytes, from a private folder under %TEMP%.
# Closing with unsaved work asks in a native dialog: "Zapisz" saves and
# ends, "Nie zapisuj" ends and leaves the file as it was. Twenty strokes
# are autosaved under %LOCALAPPDATA%\Zelbun Kreator; after a kill the next
# start offers them back, and Ctrl+S saves them.
set -euo pipefail
build=$1 source=$2 wine_run=$3

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "[  SKIPPED ] $tool is missing"; exit 0; }
done

work=$(mktemp -d /tmp/zelbun-window-XXXXXX)
export ZELBUN_WINEPREFIX=$work/prefix
xvfb=
program=
cleanup() {
  [ -z "$program" ] || kill "$program" 2>/dev/null || true
  WINEPREFIX=$ZELBUN_WINEPREFIX wineserver -k >/dev/null 2>&1 || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $* (line ${BASH_LINENO[0]})" >&2; exit 1; }
windows() { local path=$1; echo "Z:${path//\//\\}"; }

# Polls for up to a minute (programs start slowly under Wine on a busy machine).
wait_for() {
  for _ in $(seq 1 300); do
    if "$@"; then return 0; fi
    sleep 0.2
  done
  return 1
}

# The X server picks a free display and names it once it takes clients.
Xvfb -displayfd 3 -screen 0 800x700x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
wait_for test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")
# Names and words in UTF-8 reach Wine whole only under a UTF-8 locale;
# SDL draws with its Windows driver, whatever the other tests ask for.
export LC_ALL=C.UTF-8
unset SDL_VIDEODRIVER
# Wine passes Linux's variables on; the session's runtime folder is no
# place for the Windows program's test images.
mkdir "$work/run"
export XDG_RUNTIME_DIR=$work/run

set_file=$work/zażółć.atr
cp "$source/fuzz/corpus/gameimage/two_levels.atr" "$set_file"
mkdir "$work/emu ą"
cp "$build/zelbun_standin.exe" "$work/emu ą/stand in.exe"
export ZELBUN_EMULATOR="\"$(windows "$work/emu ą/stand in.exe")\" --boot %f"
export ZELBUN_STANDIN_LOG=$(windows "$work/emulator.txt") ZELBUN_STANDIN_COPY=$(windows "$work/seen.atr")
"$wine_run" cmd /c exit 0 || fail "no Wine prefix"

# Shown windows only: Wine names a window before it maps it, and focusing
# one that is not shown yet fails (BadMatch).
window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }
window_names() { xdotool search --name . getwindowname %@ 2>/dev/null | tr '\n' '|'; }
editor_running() { [ -n "$program" ] && kill -0 "$program" 2>/dev/null; }
editor_ended() { ! editor_running; }
start_editor() {
  "$wine_run" "$build/zelbun-kreator.exe" "$(windows "$set_file")" >"$work/editor.log" 2>&1 &
  program=$!
  wait_for window 'Zelbun Kreator 1\.0' >/dev/null || fail "no window: $(cat "$work/editor.log")"
  wait_for xdotool search --onlyvisible --name 'zażółć\.atr - Zelbun' >/dev/null || fail "the window does not name zażółć.atr"
}
# Clicks at a point of the editor's window.
click() { xdotool search --onlyvisible --name 'Zelbun Kreator 1\.0' windowfocus --sync mousemove --window %1 "$1" "$2" click 1; }
cell() { click $((5 + 16 * $1 + 8)) $((50 + 16 * $2 + 8)); }
# Answers the native question titled $1 with the keys given.
answer() {
  local title=$1
  shift
  wait_for window "$title" >/dev/null ||
    fail "no question \"$title\"; windows: $(window_names)"
  xdotool windowfocus --sync "$(window "$title")" key --delay 100 "$@"
}
# The bytes that differ between two files: offset (from 0) and new value
# in octal, a line each.
changes() { cmp -l "$1" "$2" | awk '{ print $1 - 1, $3 }' || true; }

inode() { stat -c %i "$set_file"; }
saved_since() { [ "$(inode)" != "$1" ]; }

# Saved once as it is, the set is as the editor writes it; every change
# after that is the drawing's.
start_editor
before=$(inode)
xdotool key --delay 50 ctrl+s
wait_for saved_since "$before" || fail "Ctrl+S did not save"
cp "$set_file" "$work/baseline.atr"
before=$(inode)
box() { click $((270 + 20 + 9)) $((50 + 20 + 9)); }  # palette entry 6: the box, 0x30
box
cell 2 3
cell 4 3
wait_for xdotool search --onlyvisible --name 'zażółć\.atr \* - Zelbun' >/dev/null || fail "the drawing did not mark the set changed"
xdotool key --delay 50 ctrl+s
wait_for saved_since "$before" || fail "Ctrl+S did not save the drawing"
wait_for xdotool search --onlyvisible --name '^zażółć\.atr - Zelbun' >/dev/null || fail "the saved set is still marked changed"
# The two cells of one row, two apart, now the box (0x30, octal 60); the
# level's cells lie row after row, 16 to a row.
changes "$work/baseline.atr" "$set_file" >"$work/changed"
first=$(head -n1 "$work/changed" | cut -d' ' -f1)
cells=$((first - 3 * 16 - 2))
[ "$(cat "$work/changed")" = "$(printf '%d 60\n%d 60' "$first" $((first + 2)))" ] ||
  fail "the save changed other bytes: $(cat "$work/changed")"
cp "$set_file" "$work/saved.atr"

# "Zapisz jako" asks in Windows' own dialog, which starts beside the set
# and adds ".atr" to a name typed without it.
click 210 12
wait_for window '^Zapisz mape$' >/dev/null || fail "no save dialog"
xdotool windowfocus --sync "$(window '^Zapisz mape$')" key ctrl+a type --delay 80 'kopia ż'
xdotool key Return
wait_for test -f "$work/kopia ż.atr" || fail "the save dialog did not save kopia ż.atr; windows: $(window_names)"
wait_for xdotool search --onlyvisible --name '^kopia ż\.atr - Zelbun' >/dev/null || fail "the window does not name kopia ż.atr"
cmp "$work/kopia ż.atr" "$work/saved.atr" || fail "kopia ż.atr is not the set"
xdotool search --onlyvisible --name 'Zelbun Kreator 1\.0' windowfocus --sync key alt+F4
wait_for editor_ended || fail "a saved set did not let the window close"
program=

# Opened again: the test image is the saved set, byte for byte.
start_editor
click 595 107  # "Testuj gre"
# The levels may have no robot: a question first, answered "Testuj".
started_or_asked() { [ -f "$work/seen.atr" ] || [ -n "$(window 'Zelbun Kreator - test')" ]; }
wait_for started_or_asked || fail "neither the emulator nor a question: $(cat "$work/editor.log")"
if [ ! -f "$work/seen.atr" ]; then
  answer 'Zelbun Kreator - test' Return
  wait_for test -f "$work/seen.atr" || fail "the emulator did not start: $(cat "$work/editor.log")"
fi
cmp "$work/seen.atr" "$work/saved.atr" || fail "the reopened set's test image differs from the saved file"
sed -n 2p "$work/emulator.txt" | grep -qx -- --boot || fail "the emulator's words: $(cat "$work/emulator.txt")"
sed -n 3p "$work/emulator.txt" | grep -q '\\Temp\\zelbun-kreator-[0-9]*\\test\.atr$' ||
  fail "the test image is not in a private folder under %TEMP%: $(cat "$work/emulator.txt")"

# Unsaved work: "Nie zapisuj" (the second button) ends and keeps the file.
box
cell 6 6
wait_for xdotool search --onlyvisible --name 'zażółć\.atr \* - Zelbun' >/dev/null || fail "the drawing did not mark the set changed"
xdotool search --onlyvisible --name 'Zelbun Kreator 1\.0' windowfocus --sync key alt+F4
answer 'Zelbun Kreator - zażółć\.atr' Tab Return
wait_for editor_ended || fail "\"Nie zapisuj\" did not end the editor"
program=
cmp "$set_file" "$work/saved.atr" || fail "\"Nie zapisuj\" changed the file"

# "Zapisz" (the first, the default) saves, then ends.
start_editor
box
cell 6 6
wait_for xdotool search --onlyvisible --name 'zażółć\.atr \* - Zelbun' >/dev/null || fail "the drawing did not mark the set changed"
xdotool search --onlyvisible --name 'Zelbun Kreator 1\.0' windowfocus --sync key alt+F4
answer 'Zelbun Kreator - zażółć\.atr' Return
wait_for editor_ended || fail "\"Zapisz\" did not end the editor"
program=
[ "$(changes "$work/saved.atr" "$set_file")" = "$((cells + 6 * 16 + 6)) 60" ] ||
  fail "\"Zapisz\" saved: $(changes "$work/saved.atr" "$set_file" | head)"

# Twenty strokes are autosaved at once, beside the prefix's other per-user
# data; the program then dies without a word. Started again, it asks
# first, and "Przywroc" (the default) brings the strokes back unsaved.
cp "$set_file" "$work/before-crash.atr"
start_editor
box
for i in $(seq 0 19); do cell $((i % 16)) $((8 + i / 16)); done
state() { find "$ZELBUN_WINEPREFIX/drive_c/users" -path '*/AppData/Local/Zelbun Kreator' -type d | head -n1; }
autosave() { find "$(state)" -name 'zażółć-*.atr' 2>/dev/null | head -n1; }
# Whether the file holds the box in all twenty cells.
strokes_in() {
  local i offset
  for i in $(seq 0 19); do
    offset=$((cells + (8 + i / 16) * 16 + i % 16))
    [ "$(od -An -tu1 -j "$offset" -N1 "$1" | tr -d ' ')" = 48 ] || return 1
  done
}
autosaved() { [ -n "$(autosave)" ] && strokes_in "$(autosave)"; }
wait_for autosaved ||
  fail "no autosave of the twenty strokes: $(find "$ZELBUN_WINEPREFIX/drive_c/users" -ipath '*zelbun*')"
kill -KILL "$program"
wait_for editor_ended || fail "the editor outlived its kill"
program=
cmp "$set_file" "$work/before-crash.atr" || fail "the autosave touched the set"

"$wine_run" "$build/zelbun-kreator.exe" "$(windows "$set_file")" >"$work/editor.log" 2>&1 &
program=$!
answer 'Zelbun Kreator - autozapis' Return
wait_for xdotool search --onlyvisible --name 'zażółć\.atr \* - Zelbun' >/dev/null || fail "the recovered strokes are not unsaved changes"
before=$(inode)
xdotool search --onlyvisible --name 'Zelbun Kreator 1\.0' windowfocus --sync key --delay 50 ctrl+s
wait_for saved_since "$before" || fail "Ctrl+S did not save the recovered strokes"
strokes_in "$set_file" || fail "the saved set lacks recovered strokes"
[ -z "$(changes "$work/before-crash.atr" "$set_file" | awk '$2 != 60')" ] ||
  fail "the recovery changed other bytes: $(changes "$work/before-crash.atr" "$set_file" | head)"
autosave_gone() { [ -z "$(autosave)" ]; }
wait_for autosave_gone || fail "the saved set's autosave stayed: $(autosave)"
echo "window: ok"
