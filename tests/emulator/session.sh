#!/usr/bin/env bash
# Boots an ATR disk image in the emulator under a private Xvfb display, plays
# input and takes screenshots whenever asked, so one run can show the game
# before and after something happened.
# Usage: session.sh EMULATOR_SCRIPTS DISK.atr OUT_DIR SECONDS STEP...
#   EMULATOR_SCRIPTS  the folder of the emulator's build.sh (shared/emulator)
#   SECONDS           how long the disk boots before the steps
#   STEP              "shot NAME" saves the screen as OUT_DIR/NAME.png (336 x 240);
#                     "sleep S" waits; anything else is an xdotool command run
#                     against the emulator window, e.g. "keydown KP_6". Joystick 0
#                     is the numeric keypad (KP_8 up, KP_5 down, KP_4 left, KP_6
#                     right, Control_R fire); F2 is OPTION, F4 START.
set -euo pipefail
[ $# -ge 4 ] || { sed -n 2,13p "$0" >&2; exit 2; }
scripts=$1; disk=$(realpath "$2"); out=$(realpath -m "$3"); wait_s=$4; shift 4
emu=$("$scripts/build.sh")
mkdir -p "$out"
work=$(mktemp -d)
# The emulator turns SIGTERM into a quit request it may not act on: end it for sure.
cleanup() {
  set +e
  if [ -n "$epid" ]; then kill "$epid"; sleep 0.5; kill -9 "$epid"; wait "$epid"; fi 2>/dev/null
  if [ -n "$xpid" ]; then kill "$xpid"; wait "$xpid"; fi 2>/dev/null
  rm -rf "$work"
}
epid=""; xpid=""
trap cleanup EXIT
printf 'Atari 800 Emulator, Version 5.2.0\n' >"$work/fresh.cfg"
for n in $(seq 20 99); do [ -e /tmp/.X$n-lock ] || break; done
Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 & xpid=$!
sleep 1
export DISPLAY=:$n
( cd "$work" && exec "$emu" -config fresh.cfg -xl -xl-rev altirra -nobasic -pal -kbdjoy0 \
    -windowed -screenshots "shot###.png" "$disk" ) >"$work/emu.log" 2>&1 & epid=$!
w=""
for i in $(seq 1 100); do w=$(xdotool search --name 'Atari' 2>/dev/null | head -1 || true); [ -n "$w" ] && break; sleep 0.1; done
[ -n "$w" ] || { cat "$work/emu.log" >&2; echo "session.sh: no emulator window" >&2; exit 1; }
xdotool windowfocus "$w" 2>/dev/null || true
sleep "$wait_s"
shots=0
for step in "$@"; do
  case $step in
    sleep*) sleep ${step#sleep } ;;
    shot\ *)
      file=$(printf '%s/shot%03d.png' "$work" "$shots")
      xdotool key --window "$w" F10
      for i in $(seq 1 50); do [ -f "$file" ] && break; sleep 0.1; done
      sleep 0.3
      [ -f "$file" ] || { echo "session.sh: no screenshot taken" >&2; exit 1; }
      cp "$file" "$out/${step#shot }.png"
      shots=$((shots + 1)) ;;
    *) xdotool $step ;;
  esac
done
