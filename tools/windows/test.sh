#!/usr/bin/env bash
# test.sh [BUILD_DIR]: runs the Windows build's tests (build-windows by
# default) under Wine: the unit tests in two gtest processes (see
# windows.cmake), the programs as a user meets them, the installer, a real
# window under Xvfb, and the same answers as the Linux build. ctest starts
# Windows programs through wine-run.sh, which has Wine's crash debugger off
# and wants gtest's PASSED line besides status 0. The 6502 and source
# checks run on the host as in the Linux build.
set -euo pipefail

build=${1:-build-windows}

cd "$build"
start=$SECONDS
status=0
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
  ctest -j"${JOBS:-2}" --timeout 600 --output-on-failure || status=$?
echo "test.sh: $((SECONDS - start)) s under Wine"
exit $status
