#!/usr/bin/env bash
# package.sh BUILD_DIR NAME VERSION ICON: the Windows build's two packages,
# from the tree `cmake --install` makes of BUILD_DIR (stripped):
#   BUILD_DIR/NAME.zip        the portable folder NAME, to unpack and run;
#   BUILD_DIR/NAME-setup.exe  the installer (installer.nsi), whose file
#                             list, written here from the same tree, lets the
#                             uninstaller remove each file it installed.
set -euo pipefail

build=$(cd "$1" && pwd)
name=$2 version=$3 icon=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$build/package
stage=$work/$name

rm -rf "$work" "$build/$name.zip" "$build/$name-setup.exe"
mkdir -p "$work"
cmake --install "$build" --prefix "$stage" --strip >/dev/null

(cd "$work" && cmake -E tar cf "$build/$name.zip" --format=zip "$name")

# Each folder, then its files; the uninstaller's list deletes the files,
# then the folders deepest first (RMDir leaves one that is not empty).
files=$work/files.nsh
: >"$files"
: >"$files.uninstall"
while IFS= read -r dir; do
  rel=${dir#.}
  rel=${rel#/}
  windows=${rel//\//\\}
  echo "SetOutPath \"\$INSTDIR${windows:+\\$windows}\"" >>"$files"
  while IFS= read -r file; do
    echo "File \"$stage/${rel:+$rel/}$file\"" >>"$files"
    echo "Delete \"\$INSTDIR\\${windows:+$windows\\}$file\"" >>"$files.uninstall"
  done < <(cd "$stage/$rel" && find . -maxdepth 1 -type f -printf '%f\n' | LC_ALL=C sort)
done < <(cd "$stage" && find . -type d | LC_ALL=C sort)
echo "SetOutPath \"\$INSTDIR\"" >>"$files"
while IFS= read -r dir; do
  echo "RMDir \"\$INSTDIR\\${dir//\//\\}\"" >>"$files.uninstall"
done < <(cd "$stage" && find . -mindepth 1 -type d -printf '%P\n' | LC_ALL=C sort -r)

makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" -DFILES="$files" -DICON="$icon" \
  -DOUTFILE="$build/$name-setup.exe" "$here/installer.nsi"
