#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the Linux build's tests
# (those that show a window on a virtual display), then the Windows build's under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
xvfb-run -a -s "-screen 0 1024x768x24" \
  ctest --test-dir build --output-on-failure -j"$(nproc)" </dev/null

scripts/test-sanitize.sh </dev/null
scripts/fuzz.sh </dev/null

scripts/test-windows.sh </dev/null
