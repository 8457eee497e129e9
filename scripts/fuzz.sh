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
targets=(settings_fuzz codepage_fuzz title_fuzz commands_fuzz flatten_fuzz)
# The targets and what each links come from CMake (tests/fuzz/CMakeLists.txt).
flags="-O1 -g -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$out" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="$flags" -DTELVO_BUILD_FUZZ=ON -DTELVO_BUILD_TESTS=OFF \
  -DTELVO_BUILD_BENCH=OFF -DTELVO_SELF_CONTAINED=OFF "${launcher[@]}" >/dev/null
log=$(mktemp)
cmake --build "$out" -j"$(nproc)" --target fuzz_targets >"$log" 2>&1 || { tail -n 40 "$log"; exit 1; }
rm -f "$log"

for name in "${targets[@]}"; do
  # New finds go to build-fuzz/ (merge them into tests/ by hand); the kept corpus is only read.
  corpus="tests/fuzz/corpus/${name%_fuzz}"
  mkdir -p "$out/new-${name%_fuzz}"
  (cd "$out" && "./$name" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
     -print_final_stats=1 "new-${name%_fuzz}" "../$corpus" 2>&1 | grep -E "^(Done|stat::number_of_executed_units|SUMMARY|==)" || true
   test "${PIPESTATUS[0]}" -eq 0)
done
