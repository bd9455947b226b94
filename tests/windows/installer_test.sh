#!/usr/bin/env bash
# The two Windows packages as a user meets them, under Wine in a Wine
# prefix of the test's own (a fresh user with nothing installed):
#   installer_test.sh BUILD_DIR SOURCE_DIR WINE_RUN PACKAGE_NAME
# The portable zip runs from wherever it is unpacked. The installer, run
# silently, installs for the user alone (it asks for no administrator
# rights) into %LOCALAPPDATA%\Programs, with a Start menu entry and an
# entry among the installed programs; the program it installed starts and
# finds its data beside it; .atr opens in the editor only when asked for;
# the uninstaller removes all of it and leaves another program's claim on
# .atr alone.
set -euo pipefail
build=$1 source=$2 wine_run=$3 name=$4

work=$(mktemp -d /tmp/zelbun-installer-XXXXXX)
export ZELBUN_WINEPREFIX=$work/prefix
cleanup() {
  WINEPREFIX=$ZELBUN_WINEPREFIX wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

zip=$build/$name.zip setup=$build/$name-setup.exe
[ -f "$zip" ] && [ -f "$setup" ] || fail "no $name.zip or $name-setup.exe in $build"
cp "$source/fuzz/corpus/gameimage/two_levels.atr" "$work/set.atr"

# The program runs, reads the set, and needs no data from the folder it
# runs in: it finds tiles.cfg beside itself.
program_works() {
  (cd "$work" && "$wine_run" "$1" info set.atr >"$work/out" 2>"$work/err") || fail "$1 info failed: $(cat "$work/err")"
  grep -q "^set.atr: 12444 bytes, 2 levels" "$work/out" || fail "$1 info printed: $(cat "$work/out")"
  ! grep -q "tiles.cfg" "$work/err" || fail "$1 did not find its data: $(cat "$work/err")"
}
registry() { "$wine_run" reg query "$@" 2>/dev/null | tr -d '\r'; }
# Polls for up to 30 s: the uninstaller hands its work to a copy of itself
# and returns at once.
wait_until_gone() {
  for _ in $(seq 1 60); do
    [ -e "$1" ] || return 0
    sleep 0.5
  done
  fail "$1 is still there"
}

# The portable folder.
mkdir "$work/portable"
(cd "$work/portable" && cmake -E tar xf "$zip")
program_works "$work/portable/$name/zelbun-kreator.com"

grep -qa 'requestedExecutionLevel level="asInvoker"' "$setup" || fail "the installer may ask for administrator rights"
"$wine_run" "$setup" /S || fail "the silent install failed"

user=$(ls "$ZELBUN_WINEPREFIX/drive_c/users" | grep -vx Public | head -n1)
profile=$ZELBUN_WINEPREFIX/drive_c/users/$user
installed=$profile/AppData/Local/Programs/Zelbun\ Kreator
shortcut=$profile/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Zelbun\ Kreator.lnk
for file in zelbun-kreator.exe zelbun-kreator.com SDL.dll SDL2.dll tiles.bmp paleta.bmp tiles.cfg icon.bmp \
  README.txt GUIDE.txt images/window.png LICENSE.txt licenses/SDL2/LICENSE.txt licenses/mingw-w64/copyright uninstall.exe; do
  [ -f "$installed/$file" ] || fail "$file was not installed"
done
[ -f "$shortcut" ] || fail "no Start menu entry"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZelbunKreator'
registry "$uninstall_key" | grep -q 'UninstallString.*uninstall.exe' || fail "not among the installed programs"
program_works "$installed/zelbun-kreator.com"
if registry 'HKCU\Software\Classes\ZelbunKreator.atr' >/dev/null; then
  fail ".atr was associated without being asked for"
fi

# Another program claims .atr as well; installing again with the
# association makes the editor the program .atr opens with.
"$wine_run" reg add 'HKCU\Software\Classes\.atr\OpenWithProgids' /v Emulator.atr /t REG_SZ /d '' /f >/dev/null
"$wine_run" "$setup" /S /ASSOCIATE || fail "the silent install with /ASSOCIATE failed"
registry 'HKCU\Software\Classes\.atr' /ve | grep -q 'REG_SZ *ZelbunKreator.atr$' || fail ".atr does not name the editor"
registry 'HKCU\Software\Classes\ZelbunKreator.atr\shell\open\command' /ve |
  grep -qF "\"C:\\users\\$user\\AppData\\Local\\Programs\\Zelbun Kreator\\zelbun-kreator.exe\" \"%1\"" ||
  fail "the command that opens .atr: $(registry 'HKCU\Software\Classes\ZelbunKreator.atr\shell\open\command' /ve)"

"$wine_run" "$installed/uninstall.exe" /S || fail "the uninstaller failed"
wait_until_gone "$installed"
[ ! -e "$shortcut" ] || fail "the Start menu entry stayed"
if registry "$uninstall_key" >/dev/null; then fail "the uninstall entry stayed"; fi
if registry 'HKCU\Software\Classes\ZelbunKreator.atr' >/dev/null; then fail "the file type stayed"; fi
if registry 'HKCU\Software\Classes\.atr' /ve | grep -q ZelbunKreator; then fail ".atr still names the editor"; fi
registry 'HKCU\Software\Classes\.atr\OpenWithProgids' | grep -q Emulator.atr || fail "the other program's claim went"
if registry 'HKCU\Software\Classes\.atr\OpenWithProgids' | grep -q ZelbunKreator; then
  fail "the editor's claim on .atr stayed"
fi
echo "installer: ok"
