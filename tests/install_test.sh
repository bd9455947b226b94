#!/usr/bin/env bash
# The program installed like a desktop application, and as a Debian package.
#   install_test.sh install BUILD_DIR SOURCE_DIR APPSTREAM_ID
#     cmake --install into a temporary prefix: every file in place, the
#     desktop entry, metadata and MIME type accepted by their validators
#     (where the set-up script installed them), and the installed program
#     finding its data there from any directory, and nowhere else; then
#     `make uninstall` leaves no file behind. `make install` without a
#     build refuses, and builds nothing.
#   install_test.sh package BUILD_DIR SOURCE_DIR APPSTREAM_ID
#     cpack's .deb unpacked with dpkg -x: the program runs from there and
#     finds its data; the package depends on the libraries it links, SDL
#     as sdl12-compat; lintian (where installed) finds no error or warning.
set -euo pipefail
mode=$1 build=$2 source=$3 appstream_id=$4

work=$(mktemp -d /tmp/zelbun-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
have() { command -v "$1" >/dev/null 2>&1; }

# A two-level set to draw, from the fuzzers' seeds.
set_file=$source/fuzz/corpus/gameimage/two_levels.atr

# From an empty directory, so only the installed data can serve.
runs_with_its_data() {
  local program=$1
  mkdir -p "$work/empty"
  (cd "$work/empty" && "$program" --version) | grep -qx "zelbun-kreator [0-9.]*" || fail "--version of $program"
  (cd "$work/empty" && "$program" export "$set_file" --level 1 -o "$work/level.png" >/dev/null) ||
    fail "$program did not find its data"
  [ "$(head -c 8 "$work/level.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "no PNG written"
}

# Width and height of a PNG from its header.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", $3 * 256 + $4, $7 * 256 + $8 }'
}

case $mode in
install)
  prefix=$work/prefix
  cmake --install "$build" --prefix "$prefix" >/dev/null
  share=$prefix/share
  for file in bin/zelbun-kreator \
      share/zelbun-kreator/tiles.bmp share/zelbun-kreator/paleta.bmp share/zelbun-kreator/tiles.cfg \
      share/zelbun-kreator/icon.bmp share/applications/zelbun-kreator.desktop \
      share/mime/packages/zelbun-kreator.xml share/metainfo/$appstream_id.metainfo.xml \
      share/man/man1/zelbun-kreator.1.gz share/icons/hicolor/scalable/apps/zelbun-kreator.svg \
      share/doc/zelbun-kreator/copyright share/doc/zelbun-kreator/changelog.gz \
      share/doc/zelbun-kreator/docs/guide.md share/doc/zelbun-kreator/docs/images/window.png; do
    [ -s "$prefix/$file" ] || fail "missing $file"
  done
  for side in 16 32 48 64 128 256; do
    icon=$share/icons/hicolor/${side}x${side}/apps/zelbun-kreator.png
    [ "$(png_size "$icon")" = "${side}x${side}" ] || fail "icon $icon is not ${side}x${side}"
    # Flat areas pack to little; an uncompressed 256 px icon is 262 KB.
    [ "$(stat -c %s "$icon")" -lt 8192 ] || fail "icon $icon is not compressed: $(stat -c %s "$icon") bytes"
  done
  grep -q '^Exec=zelbun-kreator %f$' "$share/applications/zelbun-kreator.desktop" || fail "Exec line"
  grep -q '^MimeType=application/x-atari-atr;$' "$share/applications/zelbun-kreator.desktop" || fail "MimeType line"

  if have desktop-file-validate; then
    desktop-file-validate "$share/applications/zelbun-kreator.desktop" || fail "desktop-file-validate"
  fi
  if have appstreamcli; then
    appstreamcli validate --no-net "$share/metainfo/$appstream_id.metainfo.xml" >/dev/null ||
      fail "appstreamcli validate: $(appstreamcli validate --no-net "$share/metainfo/$appstream_id.metainfo.xml")"
  fi
  if have update-mime-database; then
    # The install ran it on the prefix: *.atr and the header magic are known.
    grep -q '^50:application/x-atari-atr:\*\.atr$' "$share/mime/globs2" || fail "*.atr not in globs2"
    grep -q 'application/x-atari-atr' "$share/mime/magic" || fail "no magic for ATR images"
  fi
  if have groff; then
    warnings=$(gzip -dc "$share/man/man1/zelbun-kreator.1.gz" | groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "manual page: $warnings"
  fi

  runs_with_its_data "$prefix/bin/zelbun-kreator"
  # Without the installed data the program must say so, not find the
  # sources' data through its build directory.
  rm "$share/zelbun-kreator/tiles.bmp"
  if (cd "$work/empty" && "$prefix/bin/zelbun-kreator" export "$set_file" --level 1 -o "$work/x.png" 2>/dev/null); then
    fail "the installed program found data outside its prefix"
  fi

  make -s -C "$source" uninstall PREFIX="$prefix" >/dev/null || fail "make uninstall"
  left=$(find "$prefix" ! -type d)
  [ -z "$left" ] || fail "left after make uninstall: $left"
  [ ! -e "$share/zelbun-kreator" ] && [ ! -e "$share/doc/zelbun-kreator" ] && [ ! -e "$share/icons/hicolor" ] ||
    fail "directories of the editor left after make uninstall"

  # Installing never builds: run as root, a build would leave root's files
  # in the user's build directory.
  if make -s -C "$source" install BUILD="$work/no-build" PREFIX="$work/other" >"$work/out" 2>&1; then
    fail "make install without a build succeeded"
  fi
  grep -q "make build" "$work/out" || fail "make install without a build does not say what to do: $(cat "$work/out")"
  [ ! -e "$work/no-build" ] && [ ! -e "$work/other" ] || fail "make install without a build made files"
  ;;
package)
  (cd "$build" && cpack -G DEB -B "$work/package" >/dev/null) || fail "cpack"
  deb=$(ls "$work"/package/zelbun-kreator_*.deb)
  # The SDL the tests run on: sdl12-compat, not the classic library that
  # Debian's symbols file names first.
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "$depends" | grep -q 'libsdl1\.2-compat' || fail "Depends lacks sdl12-compat: $depends"
  echo "$depends" | grep -q 'libsdl1\.2debian' && fail "Depends names the classic SDL: $depends"
  echo "$depends" | grep -q 'libsdl-gfx1\.2' || fail "Depends lacks SDL_gfx: $depends"
  dpkg -x "$deb" "$work/root"
  [ -s "$work/root/usr/share/applications/zelbun-kreator.desktop" ] || fail "no desktop entry in the package"
  for file in copyright changelog.gz; do
    [ -s "$work/root/usr/share/doc/zelbun-kreator/$file" ] || fail "no $file in the package"
  done
  grep -q '^License: Zlib$' "$work/root/usr/share/doc/zelbun-kreator/copyright" || fail "copyright names no licence"
  if have readelf; then
    sections=$(readelf -S -W "$work/root/usr/bin/zelbun-kreator")
    echo "$sections" | grep -qE ' \.(symtab|comment|debug_info) ' && fail "program not stripped: $sections"
  fi
  runs_with_its_data "$work/root/usr/bin/zelbun-kreator"
  if have lintian; then
    report=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian: $report"
    echo "$report" | grep -E '^[EW]: ' && fail "lintian: $report"
  fi
  ;;
*)
  fail "unknown mode $mode"
  ;;
esac
echo "$mode: ok"
