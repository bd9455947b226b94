#!/usr/bin/env bash
# wine-run.sh PROGRAM.exe [ARGS...]: runs a Windows program under Wine for
# the cross build (the data generator, gtest's discovery, the tests), with
# its status passed through.
#
# A GoogleTest run (one asking for --gtest_filter, as ctest's runs do)
# passes only with status 0 and gtest's own "[  PASSED  ]" summary: a
# program that dies before printing it has not passed, whatever its status.
#
# ZELBUN_FILE_SIZE_LIMIT=KIB runs the program (not Wine's server, started
# before) with files limited to that size, so writes past it fail as on a
# full disk.
#
# The Wine prefix is private (ZELBUN_WINEPREFIX, by default in the build
# cache), never the user's ~/.wine, and is made on first use. Wine's crash
# debugger is off: with it, a program that crashes can end with status 0
# and a crashing test would pass.
set -euo pipefail

cache=${ZELBUN_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zelbun-windows}
export WINEPREFIX=${ZELBUN_WINEPREFIX:-$cache/wineprefix}
export WINEDEBUG=-all
# No Mono or Gecko installer on first start, and no debugger on a crash.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
export WINEARCH=win64

mkdir -p "$(dirname "$WINEPREFIX")"
# Two programs starting at once (ctest -j2) must not both make the prefix
# or start its server.
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.zelbun-ready" ]; then
  wineboot --init </dev/null >/dev/null 2>&1
  # The registry's own switch as well, for programs that look there.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /t REG_SZ /d '' /f </dev/null >/dev/null 2>&1
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Auto /t REG_SZ /d 0 /f </dev/null >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.zelbun-ready"
fi
# Wine's server, the services the first client of a new server starts and
# the desktop process the first window starts outlive the program that
# caused them and keep its error output open: whoever reads the program's
# output to its end (ctest, ninja, gtest's discovery) would wait for them
# to go. So they start here, on /dev/null, by a program that asks for the
# desktop window, and the server stays ten seconds after its last client.
# wineserver fails when one is running already.
if wineserver -p10 </dev/null >/dev/null 2>&1; then
  wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
fi
flock -u 9
exec 9>&-

gtest_run=false
for arg in "$@"; do
  case $arg in --gtest_filter=*) gtest_run=true ;; esac
done
if ! $gtest_run; then
  exec wine "$@"
fi

# Into a file, shown when the program has ended: a test that opens the
# first window starts Wine's desktop process, which would keep a pipe of
# ours open (and ctest waiting) for as long as it lives.
output=$(mktemp)
trap 'rm -f "$output"' EXIT
set +e
(
  if [ -n "${ZELBUN_FILE_SIZE_LIMIT:-}" ]; then
    ulimit -f "$ZELBUN_FILE_SIZE_LIMIT"
    # A write past the limit then fails instead of ending the program.
    trap '' XFSZ
  fi
  exec wine "$@"
) >"$output" 2>&1
status=$?
set -e
cat "$output"
if [ "$status" -eq 0 ] && ! grep -q '^\[  PASSED  \]' "$output"; then
  echo "wine-run.sh: status 0 without gtest's PASSED line: the program ended before its summary" >&2
  status=1
fi
exit "$status"
