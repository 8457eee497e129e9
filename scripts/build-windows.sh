#!/usr/bin/env bash
# Cross-builds the Windows program with Debian's mingw-w64, twice from the same sources:
#   build-win32  32-bit, the program that ships: telvo-flash.exe, with the cartridge simulator
#                as ucon64.exe beside it (on a real PC the real tool takes its place)
#   build-win64  64-bit, the same sources built so that the tests run here under wine64
#                (this machine cannot run 32-bit Windows programs)
#   scripts/build-windows.sh [win32] [win64]     (both when none is named)
# TELVO_TARGET=telvo-flash builds only that target (scripts/package.sh: only the program ships).
# Warnings are errors here (TELVO_WERROR), as in CI's Linux build.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-$(nproc)}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(win32 win64)

declare -A objdump=([win32]=i686-w64-mingw32-objdump [win64]=x86_64-w64-mingw32-objdump)

build() {
  local name=$1 toolchain options
  case "$name" in
    # The shipped program: optimised, no debug information, -O2 (GCC 12's -O3 warns falsely
    # about std::string copies on 32-bit).
    win32) toolchain=toolchain-mingw-i686.cmake
      options=(-DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG"
               -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s) ;;
    win64) toolchain=toolchain-mingw-x86_64.cmake
      options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    *) echo "build-windows: unknown build '$name' (win32 or win64)" >&2; return 2 ;;
  esac
  local dir="$root/build-$name" log
  log=$(mktemp)
  echo "== build-$name"
  cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
    "${options[@]}" -DTELVO_BUILD_BENCH=OFF -DTELVO_WERROR=ON ${TELVO_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$TELVO_LAUNCHER} >/dev/null
  local status=0
  cmake --build "$dir" -j"$jobs" ${TELVO_TARGET:+--target "$TELVO_TARGET"} >"$log" 2>&1 || status=$?
  grep -E -A3 "warning:|error:" "$log" || true
  [ "$status" -eq 0 ] || tail -n 20 "$log"
  rm -f "$log"
  if [ "$status" -ne 0 ]; then
    echo "build-windows: build-$name failed" >&2
    return 1
  fi
  # Every program must start on a bare Windows: no compiler runtime DLLs beside it.
  local exe runtime=0
  for exe in "$dir"/*.exe; do
    if "${objdump[$name]}" -p "$exe" | grep -iE "DLL Name: (libgcc|libstdc|libwinpthread)"; then
      echo "build-windows: $exe needs the compiler's runtime DLLs" >&2
      runtime=1
    fi
  done
  [ "$runtime" -eq 0 ] || return 1
  echo "build-$name: $(ls "$dir"/*.exe | wc -l) programs, no warnings, no runtime DLLs"
}

for name in "${targets[@]}"; do build "$name"; done
