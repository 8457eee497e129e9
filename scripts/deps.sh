#!/usr/bin/env bash
# Installs the Debian 12 packages the program, its tests and the Windows cross-build need.
# Skips apt-get entirely when everything is there already.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libfltk1.3-dev fluid            # the window toolkit on Linux (its CMake files want fluid)
  libfontconfig-dev libxft-dev libx11-dev  # font lookup, and what the FLTK backend links
  fonts-terminus fonts-terminus-otb  # the crisp bitmap face that stands in for "Terminal"
  googletest libgtest-dev libbenchmark-dev
  xvfb xauth x11-utils xdotool imagemagick  # tests and screenshots without a display
  mingw-w64 wine64 wine           # the Windows program, cross-built and tested under Wine
  clang-14 libclang-rt-14-dev     # libFuzzer for the fuzz targets (scripts/fuzz.sh)
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
