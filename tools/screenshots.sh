#!/usr/bin/env bash
# `make screenshots`: the pictures of docs/guide.md and the README, taken
# from the real program in a real window. A private X server (Xvfb) shows
# the editor at 1x; xdotool draws a level with the tools as a user would,
# and zelbun-windowshot saves the window's picture. Run it again after a
# change of the look: the pictures never drift from the program.
#
#   tools/screenshots.sh [BUILD_DIR] [OUT_DIR]     (build, docs/images)
#
# Hermetic: the editor gets a home, XDG directories and a PATH of its own
# holding only a stand-in emulator, so no desktop dialog program, no user's
# settings, recent files or autosaves take part; it starts in an empty
# working directory with the default data of the sources.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$source_dir/build}" && pwd)
out=${2:-$source_dir/docs/images}
editor=$build/zelbun-kreator
shooter=$build/zelbun-windowshot

fail() { echo "screenshots: $*" >&2; exit 1; }
for tool in Xvfb xdotool; do
  command -v $tool >/dev/null || fail "$tool is missing (tools/install-deps.sh installs it)"
done
[ -x "$editor" ] && [ -x "$shooter" ] || fail "build $build first (make build)"
xdotool=$(command -v xdotool)
mkdir -p "$out"
out=$(cd "$out" && pwd)

work=$(mktemp -d /tmp/zelbun-screenshots-XXXXXX)
xvfb=0 program=0
# The editor is killed: asked politely, it would ask about unsaved work.
finish() {
  [ "$program" -gt 0 ] && { kill -KILL "$program"; wait "$program"; } 2>/dev/null || true
  [ "$xvfb" -gt 0 ] && { kill "$xvfb"; wait "$xvfb"; } 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
# The set is saved in a home-like place, so the path the window shows
# reads as a user's would and is the same on every run.
documents=$work/home/gracz/Dokumenty/zelbun
mkdir -p "$work"/{bin,config,data,cache,state} "$documents"
mkdir -m 700 "$work/run"
# Test images go to the stand-in, which only notes them.
printf '#!/bin/sh\necho "$@" >>"%s/emulator.log"\n' "$work" >"$work/bin/emulator"
chmod 755 "$work/bin/emulator"

# The X server names the free display it took once it takes connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
display=:$(cat "$work/display")

export DISPLAY=$display
x() { "$xdotool" "$@"; }

# Starts the editor with ARGS in the private working directory and waits
# for its window.
start() {
  (cd "$documents" && exec env -i DISPLAY="$display" SDL_VIDEODRIVER=x11 PATH="$work/bin" \
      HOME="$work/home/gracz" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
      XDG_CACHE_HOME="$work/cache" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/run" \
      ZELBUN_EMULATOR="$work/bin/emulator" \
      "$editor" --scale 1 "$@" >"$work/editor.log" 2>&1) &
  program=$!
  for _ in $(seq 200); do
    window=$(x search --name 'Zelbun Kreator' 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.05
  done
  [ -n "${window:-}" ] || fail "no window; the editor said: $(cat "$work/editor.log")"
  x windowmove "$window" 0 0 windowfocus --sync "$window"
}

# Pointer and keys, in the window's picture's pixels (editor/layout.h).
point() { x mousemove --window "$window" "$1" "$2"; }
click() { point "$1" "$2"; x click 1; }
cell() { click $((5 + 16 * $1 + 8)) $((50 + 16 * $2 + 8)); }             # canvas column, row
entry() { click $((270 + 20 * ($1 % 5) + 9)) $((50 + 20 * ($1 / 5) + 9)); }  # palette entry
drag() {  # from cell to cell
  point $((5 + 16 * $1 + 8)) $((50 + 16 * $2 + 8)); x mousedown 1
  point $((5 + 16 * $3 + 8)) $((50 + 16 * $4 + 8)); sleep 0.05
}
drop() { x mouseup 1; }
key() { x key --delay 30 "$@"; }
register() { click $((425 + 20 * ($1 - 1) + 10)) 165; }       # colour register 1-6
colour() { click $((375 + 16 * ($1 >> 4) + 8)) $((176 + 16 * (($1 & 15) >> 1) + 8)); }  # Atari colour value
slot() { click $((20 * ($1 - 1) + 9)) 35; }                    # level slot 1-32

# The window's picture once it stops changing (the editor has handled
# what it was sent and drawn it): the same over QUIET looks 0.15 s apart
# (by default one), within a minute and a half.
settle() {
  local quiet=${1:-1} same=0
  "$shooter" "$window" "$work/last.png"
  for _ in $(seq 600); do
    sleep 0.15
    "$shooter" "$window" "$work/now.png"
    if cmp -s "$work/now.png" "$work/last.png"; then
      same=$((same + 1))
      [ $same -ge "$quiet" ] && return 0
    else
      same=0
      mv "$work/now.png" "$work/last.png"
    fi
  done
  fail "the window never settled"
}
# A picture into OUT/NAME.png: the settled window, or with OPTIONS
# (zelbun-windowshot's --mark, --crop, --zoom) a marked or cut copy of it.
shot() {
  local name=$1; shift
  settle
  "$shooter" "$window" "$out/$name.png" "$@"
  echo "screenshots: $out/$name.png"
}
# The same at once, for pictures that never stop moving (the playtest).
snap() {
  local name=$1; shift
  "$shooter" "$window" "$out/$name.png" "$@"
  echo "screenshots: $out/$name.png"
}

start

# A level drawn with the tools: the outer wall as an outline, the inner
# walls as lines, then the pieces one by one. Four rooms, one after the
# other: a box to push up its shaft into the pit, a one-way passage, a door
# and its key, and a laser beam to pass behind a wall. Nothing in it moves
# or counts but the box, the key and the screws, so the solver plays it
# through in moments.
wall=34 robot=1 screw=2 exit_door=3 pit=4 box=6 key1=10 door1=15 laser=21 oneway_up=30
entry $wall
key r r; drag 0 0 15 30; drop
key l
for row in 8 16 23; do drag 1 $row 14 $row; drop; done
key d
for at in "12 24" "12 25" "14 24" "14 25" "7 5"; do cell $at; done
entry $door1; cell 13 8
entry $oneway_up; cell 2 16
entry $pit; cell 13 23
entry $box; cell 13 25
entry $robot; cell 2 28
entry $exit_door; cell 2 2
entry $screw; for at in "14 28" "8 19" "12 4"; do cell $at; done
entry $key1; cell 13 19
entry $laser; cell 1 5
click 405 72                      # the screw count: the screws drawn
click 427 122                     # the wall's next pattern
# The level's colours: shading, body, highlights, dark parts, background
# (the window's too) and the robot.
paint() { local r=1; for value in "$@"; do register $r; colour "$value"; r=$((r + 1)); done; }
paint 0x00 0x94 0x1C 0x72 0x00 0x3A
# The game's Start page.
click 384 366
x type --delay 20 "  ZELBUN - ZESTAW PRZYKLADOWY"
key Return Return
x type --delay 20 "      FIRE: START"
key Escape
# Saved through the editor's own file dialog (no desktop dialog program
# on its PATH): the name typed replaces the one offered.
key ctrl+s; settle
x type --delay 20 zestaw; key Return
for _ in $(seq 100); do [ -s "$documents/zestaw.atr" ] && break; sleep 0.05; done
[ -s "$documents/zestaw.atr" ] || fail "the set was not saved: $(cat "$work/editor.log")"

# More levels for the set view: the first copied with other colours and
# wall patterns; the second with a second robot, the third with screws
# missing, for the checks to find.
key ctrl+c
copy() { slot "$1"; key ctrl+v; shift; paint "$@"; }
copy 2 0x00 0x46 0xCE 0x42 0x00 0x0E; entry $robot; cell 9 28
copy 3 0x00 0xC6 0x2C 0xC2 0x00 0x58; click 427 122; click 427 122
cell 8 19; x click 3                                           # a screw erased with the right button
copy 4 0x00 0x26 0x8E 0x22 0x00 0xCA; click 427 122; click 427 122; click 427 122
copy 5 0x00 0x66 0xFC 0x62 0x00 0x1A; click 382 122
cell 13 19; x click 3                                          # no key: the door stays shut
slot 1
key ctrl+s
point $((5 + 16 * 13 + 8)) $((50 + 16 * 19 + 8))   # the status line names the key under the pointer
shot window

# The window's areas, numbered as docs/guide.md names them (the
# rectangles of editor/layout.h, a pixel inside their borders).
shot areas \
  --mark 2,2,546,21 --mark 2,27,636,16 --mark 6,51,254,494 --mark 7,550,204,18 --mark 272,52,96,136 \
  --mark 377,52,76,80 --mark 552,47,86,96 --mark 377,156,252,146 --mark 377,335,253,98 \
  --mark 377,447,161,21 --mark 377,474,261,48 --mark 377,528,261,18 --mark 377,551,261,17
# The tool buttons under the canvas, three times as large.
shot tools --crop 0,546,216,24 --zoom 3

# The set view (F3), once the solver has given every level its verdict:
# the picture unchanged for ten seconds (a level takes it a few on a busy
# machine; look at the picture).
key F3
settle 66
shot setview
key F3

# The findings before a test: "Testuj mape" on the level with two robots.
slot 2
click 595 82
shot findings
key Escape

# The playtest (F5) of the first level: the first screw collected, the
# box pushed up its shaft.
slot 1
key F5
key --delay 150 Right Right Right Right Right Right Right Right Right Right Right Right Left Up Up Up
sleep 0.5; snap playtest
key Escape

# Its solution replayed (Shift+F5): once the search is over the robot
# leaves its start cell; a few of its steps later, the picture.
settle
"$shooter" "$window" "$work/start.png" --crop $((5 + 16 * 2)),$((50 + 16 * 28)),16,16
key shift+F5
for _ in $(seq 600); do
  "$shooter" "$window" "$work/robot.png" --crop $((5 + 16 * 2)),$((50 + 16 * 28)),16,16
  cmp -s "$work/robot.png" "$work/start.png" || break
  sleep 0.1
done
cmp -s "$work/robot.png" "$work/start.png" && fail "no solution was played"
sleep 2.5
snap solution
key Escape

# The English window: once the editor takes --lang en, start it again with
# that option on the saved set and shoot it here, as `window-en`:
#   kill -KILL "$program"; wait "$program" || true
#   start --lang en zestaw.atr
#   shot window-en
