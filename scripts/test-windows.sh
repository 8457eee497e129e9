#!/usr/bin/env bash
# Builds both Windows programs, runs each build's tests under Wine (the 64-bit build under
# wine64, the shipped 32-bit build under 32-bit Wine), and starts each telvo-flash.exe once in
# a fresh folder: it must write .ucon64rc and TELVO.INI byte for byte, and closing its window
# must save the settings. The 32-bit runs need Debian's wine32 and a kernel that runs 32-bit
# programs; where the runner finds no working 32-bit loader they fail, unless
# TELVO_WIN32_OPTIONAL=1 lets them be reported as not run. Everything that shows a window runs on
# a virtual display (xvfb-run); nothing reads standard input. Exits non-zero on any failure.
#   scripts/test-windows.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
win64=$root/build-win64
win32=$root/build-win32

. "$root/scripts/lib.sh"
on_display 1024x768x24 --
"$root/scripts/build-windows.sh" </dev/null

# The build under test: its folder, and the runner's flag for 32-bit programs.
build=$win64
arch=()
wine() { "$root/cmake/wine-run.sh" "${arch[@]}" "$build/wineprefix" "$@"; }
failures=0
fail() {
  echo "test-windows: FAILED: $*" >&2
  failures=$((failures + 1))
}


# --- start-up smoke test -------------------------------------------------------------------

crlf() { printf '%s\r\n' "$@"; }

expect_bytes() {  # expect_bytes FILE EXPECTED-FILE WHAT
  if cmp -s "$1" "$2"; then
    echo "ok: $3"
    return 0
  fi
  fail "$3"
  echo "--- expected"; od -c "$2" | head -n 20
  echo "--- got"; od -c "$1" 2>/dev/null | head -n 20
}

# The files written at start-up, byte for byte; the SRAM dialog opens from "Get/Receive" as a
# window of its own, and closes again. Then TELVO.INI is edited by hand: the shut-down must
# replace it with the controls' values.
check_running() {
  local dir=$1 windir
  windir=$(wine winepath -w "$dir" </dev/null | tr -d '\r')
  windir=${windir%\\}
  crlf "version = 211" "backups = 1" "ansi_color = 1" "parport = 378" \
    "discmage_path=$windir\\discmage.dll" "ucon64_configdir=$windir" "ucon64_datdir=$windir" \
    "f2afirmware = f2afirm.Hex" "iclientu = iclientu.bin" "iclientp = iclientp.bin" \
    "ilogo = ilogo.bin" "gbaloader = loader.bin" >"$expected"
  expect_bytes "$dir/.ucon64rc" "$expected" ".ucon64rc for $windir"

  crlf "# Vostrik Software's TELVO Flashing Software Configuration file V1.00" \
    "FixUnl = 0" "FixChk = 1" "Enforce = 1" "Pad = 0" "LPT = 378" "TELVO = 0" >"$expected"
  expect_bytes "$dir/TELVO.INI" "$expected" "default TELVO.INI"

  local closer="$build/closewindow.exe"
  if wine "$closer" "TELVO FLASH UTILITY" "Get/Receive" &&
     wait_for 20 wine "$closer" "SRAM Operation" </dev/null 2>/dev/null; then
    echo "ok: \"Get/Receive\" opened the SRAM dialog, its close button closed it"
  else
    fail "the SRAM dialog did not open from \"Get/Receive\""
  fi
  sleep 1
  crlf "edited during the run" >"$dir/TELVO.INI"
}
check_saved() { expect_bytes "$1/TELVO.INI" "$expected" "TELVO.INI saved at shut-down"; }

smoke() {
  echo "== start-up smoke test of $(basename "$build")/telvo-flash.exe"
  local dir
  # A blank in the folder name: the tool configuration takes the folder as it stands.
  dir=$(mktemp -d "/tmp/telvo smoke.XXXXXX")
  expected=$(mktemp)
  cp "$build/telvo-flash.exe" "$dir/"
  wine_start_up telvo-flash.exe "$dir/telvo-flash.exe" "$build/closewindow.exe" \
    check_running check_saved
  rm -rf "$dir" "$expected"
}

test_build() {  # test_build DIR [--win32]: the build's unit tests, then its smoke test
  build=$1
  arch=("${@:2}")
  local name
  name=$(basename "$build")
  # The runner refuses when it cannot run this build's programs, and then nothing here can pass.
  wine_runs "the programs of $name" "${arch[@]}" || return 0
  echo "== unit tests of $name under Wine"
  # One Wine server for the whole run: a test that starts while the previous test's server is
  # shutting down loses its connection ("wine client error ... Connection reset by peer"). Not
  # through the wineserver wrapper, which tells the server to end with its last client.
  WINEPREFIX=$build/wineprefix /usr/lib/wine/wineserver64 -p 2>/dev/null || true
  if ! ctest --test-dir "$build" --output-on-failure --timeout 600 </dev/null; then
    fail "ctest in $name"
  fi
  smoke
  # Wine's server holds the virtual display; end it before xvfb-run takes the display away.
  WINEPREFIX=$build/wineprefix /usr/lib/wine/wineserver -k 2>/dev/null || true
}

# The shipped program imports nothing that Windows XP SP3 lacks.
"$root/scripts/check-imports.sh" "$win32/telvo-flash.exe" || fail "imports of build-win32/telvo-flash.exe"

test_build "$win64"
test_build "$win32" --win32

if [ "$failures" -ne 0 ]; then
  echo "test-windows: $failures failure(s)" >&2
  exit 1
fi
echo "test-windows: all passed"
