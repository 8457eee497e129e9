#!/usr/bin/env bash
# Installs what is needed, builds the program and starts it.
# The program runs from ./run/, its application directory. When no real ucon64 is on the PATH,
# the cartridge simulator stands in for it there, so everything can be tried without hardware.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
cmake --install build --prefix "$PWD/run" >/dev/null

if command -v ucon64 >/dev/null 2>&1; then
  echo "Using the ucon64 found at $(command -v ucon64)."
  rm -f run/ucon64 run/multigam.bin
else
  echo "No ucon64 found: the cartridge simulator stands in for it (no hardware is used)."
  cp build/ucon64 build/multigam.bin run/
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "There is no display to show the window on (DISPLAY is not set)." >&2
  echo "Run the program on a virtual display instead:  xvfb-run -a run/telvo-flash" >&2
  exit 1
fi
exec run/telvo-flash
