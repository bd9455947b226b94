#!/usr/bin/env bash
# test.sh [BUILD_DIR]: runs the Windows build's tests (build-windows by
# default) under Wine, each case in its own process as on Linux: ctest
# starts them through wine-run.sh, which has Wine's crash debugger off and
# wants gtest's PASSED line besides status 0. The 6502 and source checks
# run on the host as in the Linux build.
set -euo pipefail

build=${1:-build-windows}

# Cases that compile but do not pass on Windows yet, each for a reason in
# the platform layer rather than in the case itself.
excluded=(
  # The test image's private folder: checked as a POSIX path ("/" joins)
  # with mode 0700, which Windows has no counterpart of.
  'MouseTest\.TestCommandsWriteAndOpen'
  # The in-window file browser knows POSIX paths only ("/" is the root, no
  # drive letters): typed and clicked names are not found, and a dialog
  # left open waits for events for ever.
  'InWindowDialogTest\..*'
  # A symbolic link to /dev/zero stands for a device in the data's place.
  'FrameTest\.ConfigurationProblemsAreShown'
  # Saving into a missing folder: the Windows error names GetLastError's
  # number, not the C library's message the case expects.
  'CommandsTest\.TheTopBarShowsWhatHappened'
)
pattern="^($(IFS='|'; echo "${excluded[*]}"))\$"

cd "$build"
start=$SECONDS
status=0
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
  ctest -j"${JOBS:-2}" --timeout 120 --output-on-failure -E "$pattern" || status=$?
echo "test.sh: $((SECONDS - start)) s under Wine; left out as not yet passing on Windows:"
ctest -N -R "$pattern" | sed -n 's/^ *Test *#[0-9]*: /  /p'
exit $status
