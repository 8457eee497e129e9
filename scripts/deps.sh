#!/usr/bin/env bash
# Installs the Debian 12 packages that are needed:
#   scripts/deps.sh run    what building and running the program takes (scripts/run.sh)
#   scripts/deps.sh        everything: also the tests, the Windows cross-build, 64- and 32-bit
#                          Wine (wine32 comes from Debian's i386 architecture, added here)
# Skips apt-get entirely when everything is there already.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libfltk1.3-dev fluid            # the window toolkit on Linux (its CMake files want fluid)
  libfontconfig-dev libxft-dev libx11-dev  # font lookup, and what the FLTK backend links
  fonts-terminus fonts-terminus-otb  # the crisp bitmap face that stands in for "Terminal"
)
i386=0
if [ "${1:-}" != run ]; then
  packages+=(
    googletest libgtest-dev libbenchmark-dev
    xvfb xauth x11-utils xdotool imagemagick zip unzip  # tests, screenshots and archives
    mingw-w64 wine64 wine           # the Windows program, cross-built and tested under Wine
    wine32:i386                     # the shipped 32-bit program, tested as it ships
    clang-14 libclang-rt-14-dev     # libFuzzer for the fuzz targets (scripts/fuzz.sh)
  )
  i386=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
if [ "$i386" -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
