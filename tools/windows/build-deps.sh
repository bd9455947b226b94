#!/usr/bin/env bash
# build-deps.sh: builds the libraries of the Windows build once and prints
# the prefix that holds them.
#
# Debian has no mingw-w64 builds of SDL and friends, so they are built
# from the archives in ZELBUN_WIN_SOURCES (by default the shared/windows
# folder beside the project root) into a cache outside the repository,
# ZELBUN_WIN_CACHE (by default ~/.cache/zelbun-windows):
#   SDL2 (DLL) -> sdl12-compat (SDL.dll, SDLmain) -> SDL_gfx (static),
#   zlib and libpng (static), GoogleTest (static, from /usr/src/googletest),
#   the CLI11 and nlohmann-json headers with their CMake files.
# The prefix is named by a key over the archives' hashes, the compiler,
# the Debian packages copied from, this script and the patches; the same
# key finds the finished prefix and returns at once, anything changed
# builds a new one.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
jobs=${JOBS:-2}
triple=x86_64-w64-mingw32
cc=$triple-gcc-posix
cxx=$triple-g++-posix

log() { echo "build-deps: $*" >&2; }
die() { log "$*"; exit 1; }

# A worktree beside others has no shared folder of its own: then the one
# beside the main checkout.
default_sources() {
  local main
  if [ -d "$root/../shared/windows" ]; then
    echo "$root/../shared/windows"
  elif main=$(git -C "$root" rev-parse --path-format=absolute --git-common-dir 2>/dev/null) &&
    [ -d "$(dirname "$main")/../shared/windows" ]; then
    echo "$(dirname "$main")/../shared/windows"
  else
    echo "$root/../shared/windows"
  fi
}
sources=$(cd "${ZELBUN_WIN_SOURCES:-$(default_sources)}" 2>/dev/null && pwd) ||
  die "no sources folder ${ZELBUN_WIN_SOURCES:-$(default_sources)}; set ZELBUN_WIN_SOURCES"
cache=${ZELBUN_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zelbun-windows}

archive() {
  local found=("$sources"/$1)
  [ -f "${found[0]}" ] || die "missing $1 in $sources"
  echo "${found[0]}"
}
sdl2=$(archive 'SDL2-2.*.tar.gz')
sdl12=$(archive 'sdl12-compat-*.tar.gz')
gfx=$(archive 'SDL_gfx-2.*.tar.gz')
zlib=$(archive 'zlib_*.tar.*')
png=$(archive 'libpng*.tar.*')

command -v "$cxx" >/dev/null || die "$cxx not found; run tools/install-deps.sh windows"
[ -f /usr/src/googletest/CMakeLists.txt ] || die "no /usr/src/googletest; install googletest"

package_version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null || echo none; }

# Everything the prefix is made from, one line each.
manifest() {
  (cd "$sources" && sha256sum "$(basename "$sdl2")" "$(basename "$sdl12")" "$(basename "$gfx")" \
    "$(basename "$zlib")" "$(basename "$png")")
  echo "compiler $("$cxx" --version | head -n1) $(sha256sum <"$(readlink -f "$(command -v "$cxx")")" | cut -c1-64)"
  echo "c-compiler $(sha256sum <"$(readlink -f "$(command -v "$cc")")" | cut -c1-64)"
  for p in mingw-w64-x86-64-dev googletest libcli11-dev nlohmann-json3-dev; do
    echo "package $p $(package_version "$p")"
  done
  echo "recipe $(sha256sum <"$here/build-deps.sh" | cut -c1-64) $(sha256sum <"$here/toolchain.cmake" | cut -c1-64)"
  (cd "$here/patches" && sha256sum -- *.patch)
}

key=$(manifest | sha256sum | cut -c1-16)
prefix=$cache/$key
# The marker's time says when the prefix was last used.
if [ -f "$prefix/.complete" ]; then
  touch "$prefix/.complete"
  echo "$prefix"
  exit 0
fi

mkdir -p "$cache"
exec 9>"$cache/build.lock"
flock 9
if [ -f "$prefix/.complete" ]; then  # built meanwhile by another caller
  echo "$prefix"
  exit 0
fi

work=$cache/work-$key
rm -rf "$work" "$prefix"
mkdir -p "$work" "$prefix"
log "building the Windows libraries into $prefix (a few minutes, once)"

# Each step's output goes to a log, shown when the step fails.
step() {
  local name=$1
  shift
  local began=$SECONDS
  log "$name"
  # Not under `if`: there bash would ignore set -e inside the step.
  set +e
  (set -e; "$@") >"$work/$name.log" 2>&1
  local status=$?
  set -e
  if [ $status -ne 0 ]; then
    tail -n 40 "$work/$name.log" >&2
    die "$name failed; the whole log is $work/$name.log"
  fi
  log "$name: $((SECONDS - began)) s"
}

unpack() {  # unpack ARCHIVE: prints the folder it made
  local dir=$work/src/$(basename "$1")
  mkdir -p "$dir"
  tar -xf "$1" -C "$dir"
  local top=("$dir"/*)
  echo "${top[0]}"
}

export ZELBUN_WIN_PREFIX=$prefix
cmake_cross() {  # cmake_cross SOURCE BUILD [OPTIONS...]: configure, build, install
  local src=$1 build=$2
  shift 2
  cmake -S "$src" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@"
  cmake --build "$build" -j"$jobs"
  cmake --install "$build"
}

sdl2_build() {
  cmake_cross "$(unpack "$sdl2")" "$work/sdl2" -DSDL_SHARED=ON -DSDL_STATIC=OFF \
    -DSDL_TEST=OFF -DSDL_TESTS=OFF -DSDL_INSTALL_TESTS=OFF
}

# SDLmain built without its stdout.txt beside the program: the messages
# belong in the console (SDL_STDIO_REDIRECT=1 still asks for the file).
# patches/sdl12-compat-*.patch mend what the release gets wrong (each
# says what and why).
sdl12_build() {
  local src patch
  src=$(unpack "$sdl12")
  for patch in "$here"/patches/sdl12-compat-*.patch; do
    patch -d "$src" -p1 --forward <"$patch"
  done
  cmake_cross "$src" "$work/sdl12" -DSDL12TESTS=OFF -DSTATICDEVEL=OFF \
    -DCMAKE_C_FLAGS=-DNO_STDIO_REDIRECT
  sed -e 's/^Name: .*/Name: sdl/' "$prefix/lib/pkgconfig/sdl12_compat.pc" >"$prefix/lib/pkgconfig/sdl.pc"
}

# SDL_gfx has no build for mingw: its five sources as a static library, the
# headers and a .pc where Debian puts them.
gfx_build() {
  local src obj=$work/gfx
  src=$(unpack "$gfx")
  mkdir -p "$obj"
  for c in "$src"/*.c; do
    "$cc" -O2 -I"$prefix/include/SDL" -c "$c" -o "$obj/$(basename "$c" .c).o"
  done
  $triple-ar rcs "$prefix/lib/libSDL_gfx.a" "$obj"/*.o
  cp "$src"/SDL_*.h "$prefix/include/SDL/"
  cat >"$prefix/lib/pkgconfig/SDL_gfx.pc" <<EOF
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: SDL_gfx
Description: drawing primitives, rotozoom, framerate and image filters for SDL 1.2
Version: $(basename "$src" | sed 's/^SDL_gfx-//')
Requires: sdl
Libs: -L\${libdir} -lSDL_gfx
Cflags: -I\${includedir}/SDL
EOF
}

# Static zlib under the name FindZLIB looks for first, so that libpng and
# the project link it in instead of asking for a zlib1.dll. Only the static
# library is built: the Debian archive lacks win32/, which the DLL's
# resource script lives in.
zlib_build() {
  local src
  src=$(unpack "$zlib")
  cmake -S "$src" -B "$work/zlib" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release
  cmake --build "$work/zlib" -j"$jobs" --target zlibstatic
  mkdir -p "$prefix/include" "$prefix/lib"
  cp "$src/zlib.h" "$work/zlib/zconf.h" "$prefix/include/"
  cp "$work/zlib/libzlibstatic.a" "$prefix/lib/libz.a"
}

png_build() {
  cmake_cross "$(unpack "$png")" "$work/png" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
    -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF
}

gtest_build() {
  cmake_cross /usr/src/googletest "$work/gtest" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
}

# Header-only: Debian's headers and CMake files work unchanged in the prefix.
headers_copy() {
  mkdir -p "$prefix/include" "$prefix/share/cmake"
  cp -r /usr/include/CLI /usr/include/nlohmann "$prefix/include/"
  cp -r /usr/share/cmake/CLI11 /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"
}

# The licences travel with the DLLs and the linked-in libraries.
licences_copy() {
  local dir=$prefix/share/licenses
  mkdir -p "$dir/sdl12-compat" "$dir/SDL_gfx" "$dir/zlib" "$dir/libpng"
  cp "$work"/src/"$(basename "$sdl12")"/*/LICENSE.txt "$dir/sdl12-compat/"
  cp "$work"/src/"$(basename "$gfx")"/*/LICENSE "$dir/SDL_gfx/"
  cp "$work"/src/"$(basename "$zlib")"/*/LICENSE "$dir/zlib/"
  cp "$work"/src/"$(basename "$png")"/*/LICENSE "$dir/libpng/"
}

# Prefixes unused for a month go when a new one is built, and so do the
# leftovers of builds that failed.
prune() {
  local old
  for old in "$cache"/*/.complete; do
    if [ -e "$old" ] && [ "$(dirname "$old")" != "$prefix" ] && [ -n "$(find "$old" -mtime +30)" ]; then
      rm -rf "$(dirname "$old")"
    fi
  done
  find "$cache" -maxdepth 1 -name 'work-*' ! -name "work-$key" -mtime +1 -exec rm -rf {} +
}

start=$SECONDS
step sdl2 sdl2_build
step sdl12-compat sdl12_build
step sdl_gfx gfx_build
step zlib zlib_build
step libpng png_build
step googletest gtest_build
step headers headers_copy
step licences licences_copy
manifest >"$prefix/manifest.txt"
touch "$prefix/.complete"
rm -rf "$work"
prune
log "done in $((SECONDS - start)) s"
echo "$prefix"
