#!/usr/bin/env bash
# Builds the Linux program and its tests with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/ and runs every test there. Any report fails the test that caused it, and so
# this script. The only leaks let through are FLTK's font cache (tests/lsan.supp).
set -euo pipefail
cd "$(dirname "$0")/.."

flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTELVO_SELF_CONTAINED=OFF "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags"
cmake --build build-asan -j"$(nproc)"

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
xvfb-run -a -s "-screen 0 1024x768x24" \
  ctest --test-dir build-asan --output-on-failure -j"$(nproc)" </dev/null
