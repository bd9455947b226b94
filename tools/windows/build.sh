#!/usr/bin/env bash
# build.sh [BUILD_DIR] [CMAKE_OPTIONS...]: cross-builds the project for
# 64-bit Windows into BUILD_DIR (build-windows by default), after making
# sure the libraries are in the cache (build-deps.sh).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-build-windows}
shift || true

prefix=$(bash "$here/build-deps.sh")

# A tree configured against another prefix (new archives, a new compiler)
# starts over: its cache holds the old prefix's paths and compiler checks.
if [ -f "$build/CMakeCache.txt" ] &&
  ! grep -qxF "ZELBUN_WIN_PREFIX:PATH=$prefix" "$build/CMakeCache.txt"; then
  echo "build.sh: $build was configured on another prefix; configuring it afresh" >&2
  rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
fi

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" \
  -DZELBUN_WIN_PREFIX="$prefix" "$@"
cmake --build "$build" -j"${JOBS:-2}"
