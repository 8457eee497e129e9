#!/usr/bin/env bash
# Installs what building and running takes (no test libraries, cross compilers or Wine),
# builds only the program and the cartridge simulator, and starts the program.
# The program runs from ./run/, its application directory. When no real ucon64 is on the PATH,
# the cartridge simulator stands in for it there, so everything can be tried without hardware.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh run
# The tests stay as scripts/test.sh last configured them; a first configure here has none.
tests=()
[ -f build/CMakeCache.txt ] || tests=(-DTELVO_BUILD_TESTS=OFF -DTELVO_BUILD_BENCH=OFF)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${tests[@]}" >/dev/null
cmake --build build -j"$(nproc)" --target telvo-flash ucon64 telvo-multigam
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
