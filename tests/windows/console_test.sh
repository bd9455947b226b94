#!/usr/bin/env bash
# The Windows programs as a user meets them, under Wine:
#   console_test.sh BUILD_DIR SOURCE_DIR WINE_RUN
# zelbun-kreator.exe is a GUI program and zelbun-kreator.com its console
# twin, both needing no DLL but SDL's beside them, built for address
# randomisation and no-execute data, with a manifest; typed as
# `zelbun-kreator` in cmd.exe, the subcommands print, take Windows,
# forward-slash and Polish paths, write their files and return their
# status; and nothing leaves a stdout.txt behind.
set -euo pipefail
build=$1 source=$2 wine_run=$3

work=$(mktemp -d /tmp/zelbun-console-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

objdump=x86_64-w64-mingw32-objdump
subsystem() { "$objdump" -p "$1" | awk '$1 == "Subsystem" { print $2 }'; }
[ "$(subsystem "$build/zelbun-kreator.exe")" = 00000002 ] || fail "zelbun-kreator.exe is not a GUI program"
[ "$(subsystem "$build/zelbun-kreator.com")" = 00000003 ] || fail "zelbun-kreator.com is not a console program"
for program in zelbun-kreator.exe zelbun-kreator.com; do
  imports=$("$objdump" -p "$build/$program" | awk '/DLL Name:/ { print $3 }')
  # The compiler's runtime, zlib and libpng are linked in.
  if grep -i -E '^lib|^zlib' <<<"$imports"; then
    fail "$program needs DLLs that are not shipped"
  fi
  grep -qx SDL.dll <<<"$imports" || fail "$program does not load SDL.dll"
done
# Address space randomisation (64-bit) and no execution from data pages.
headers=$("$objdump" -p "$build/zelbun-kreator.exe")
for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
  grep -qw "$flag" <<<"$headers" || fail "zelbun-kreator.exe lacks $flag"
done
# The manifest: common controls 6 for the questions, the user's own
# rights, long paths.
for program in zelbun-kreator.exe zelbun-kreator.com; do
  for wanted in Microsoft.Windows.Common-Controls 'level="asInvoker"' '<longPathAware'; do
    grep -qaF "$wanted" "$build/$program" || fail "$program's manifest lacks $wanted"
  done
done
for dll in SDL.dll SDL2.dll; do
  [ -f "$build/$dll" ] || fail "$dll is not beside the programs"
done

# cmd.exe finds the program in its working directory; the files it works
# on are named the Windows way (Wine's Z: drive is /) and the Unix way.
set_file=$source/fuzz/corpus/gameimage/two_levels.atr
windows_work="Z:${work//\//\\}"
run() { (cd "$build" && "$wine_run" cmd /c "$1" >"$work/out" 2>"$work/err"); }

run "zelbun-kreator --version" || fail "--version failed"
grep -q "^zelbun-kreator [0-9.]*" "$work/out" || fail "--version printed: $(cat "$work/out")"

run "zelbun-kreator info $set_file --json" || fail "info failed: $(cat "$work/err")"
grep -q '"levels"' "$work/out" || fail "info --json printed: $(head -c 200 "$work/out")"

cp "$set_file" "$work/set.atr"
run "zelbun-kreator export $windows_work\\set.atr --level 1 -o $windows_work\\level.png" ||
  fail "export failed: $(cat "$work/err")"
[ "$(head -c 8 "$work/level.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "export wrote no PNG"

# A Polish name reaches the program whole and comes back in UTF-8 (the
# words reach Wine whole only under a UTF-8 locale).
cp "$set_file" "$work/zażółć.atr"
LC_ALL=C.UTF-8 run "zelbun-kreator info $windows_work\\zażółć.atr" || fail "info of zażółć.atr failed: $(cat "$work/err")"
grep -q "zażółć.atr: 12444 bytes, 2 levels" "$work/out" || fail "info of zażółć.atr printed: $(head -n1 "$work/out")"

status=0
run "zelbun-kreator info $windows_work\\missing.atr" || status=$?
[ "$status" = 1 ] || fail "info of a missing file ended with status $status"
grep -q "missing.atr" "$work/err" || fail "no message naming the missing file: $(cat "$work/err")"
[ ! -s "$work/out" ] || fail "a failed info printed: $(cat "$work/out")"

for dir in "$build" "$work"; do
  [ ! -e "$dir/stdout.txt" ] && [ ! -e "$dir/stderr.txt" ] || fail "SDL redirected the output into $dir"
done
echo "console commands: ok"
