#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and this
# machine lacks. Safe to run again: packages already present are skipped.
set -euo pipefail

packages=(
  cmake make g++ libgtest-dev            # native build and unit tests
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64   # Windows build (g++, windres)
  wine wine64                            # runs the Windows build
  xvfb xdotool imagemagick x11-utils     # virtual display, real clicks, screenshots
  python3                                # drives the program on the virtual display
  nsis                                   # the Windows setup program (makensis)
  clang libclang-rt-dev                  # sanitizers and fuzzing
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
