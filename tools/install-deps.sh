#!/usr/bin/env bash
# Installs the Debian packages the editor needs to build, run and test.
# `install-deps.sh windows` installs instead what the Windows build needs:
# the mingw-w64 cross compilers, Wine to run the build-time generator and
# the tests, NSIS for the installer, Xvfb and xdotool for the real window
# under Wine, and the host tools the cross build shares with the native one
# (GoogleTest's sources, the header-only libraries copied into the cross
# prefix, cc65 for the game disk).
# Idempotent: when everything is present, apt is not called at all.
set -euo pipefail

case "${1:-}" in
windows)
  packages=(
    cmake make pkg-config ninja-build bzip2 tar patch
    g++-mingw-w64-x86-64-posix mingw-w64-tools
    wine nsis xvfb xdotool
    googletest libcli11-dev nlohmann-json3-dev
    cc65
  )
  ;;
"")
  packages=(
    g++ cmake make pkg-config
    libsdl1.2-compat-dev libsdl-gfx1.2-dev libx11-dev
    googletest libgtest-dev libbenchmark-dev libpng-dev
    libcli11-dev nlohmann-json3-dev
    xvfb xdotool
    desktop-file-utils appstream shared-mime-info xdg-utils dpkg-dev groff-base lintian
    clang libclang-rt-14-dev
    cc65
  )
  ;;
*)
  echo "usage: install-deps.sh [windows]" >&2
  exit 2
  ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then
    sudo="sudo"
  else
    echo "error: need root or sudo to install: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
