#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (and AddressSanitizer) in build-fuzz/ and runs
# each for FUZZ_SECONDS (30 by default) from its corpus in tests/fuzz/corpus/, which keeps the
# interesting inputs found so far. A crash or a broken property fails the script; the input that did it
# is left in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-30}"
cxx="$(command -v clang++-14 || command -v clang++ || true)"
if [ -z "$cxx" ]; then
  echo "fuzz.sh: no clang++ here; the fuzz targets are skipped" >&2
  exit 0
fi

out=build-fuzz
mkdir -p "$out"
flags=(-std=c++20 -O1 -g -I. -Itests -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
codepage=(platform/codepage.cpp platform/codepage_posix.cpp)
filesystem=(platform/filesystem.cpp platform/filesystem_posix.cpp)
settings=(config/settings.cpp "${codepage[@]}")
title=(flash/rom_title.cpp config/replace_file.cpp config/replace_file_posix.cpp ui/window.cpp
       "${filesystem[@]}" "${codepage[@]}")
commands=(exec/tool_commands.cpp exec/command_line.cpp tests/support/crt_args.cpp
          "${filesystem[@]}" "${codepage[@]}")
flatten=(exec/command_line.cpp tests/support/crt_args.cpp)

build() {
  local name="$1"
  shift
  "$cxx" "${flags[@]}" "tests/fuzz/${name}.cpp" "$@" -o "$out/$name"
}
build settings_fuzz "${settings[@]}"
build codepage_fuzz "${codepage[@]}"
build title_fuzz "${title[@]}"
build commands_fuzz "${commands[@]}"
build flatten_fuzz "${flatten[@]}"

for name in settings_fuzz codepage_fuzz title_fuzz commands_fuzz flatten_fuzz; do
  # New finds go to build-fuzz/ (merge them into tests/ by hand); the kept corpus is only read.
  corpus="tests/fuzz/corpus/${name%_fuzz}"
  mkdir -p "$out/new-${name%_fuzz}"
  (cd "$out" && "./$name" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
     -print_final_stats=1 "new-${name%_fuzz}" "../$corpus" 2>&1 | grep -E "^(Done|stat::number_of_executed_units|SUMMARY|==)" || true
   test "${PIPESTATUS[0]}" -eq 0)
done
