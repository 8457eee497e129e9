#!/usr/bin/env bash
# Flashes one ROM through the real program with the cartridge simulator as the tool and saves
# the screen when the job has ended, so that its last line can be looked at: once with a
# cartridge that answers ("Done: ...") and once with none ("Failed: ...").
#   scripts/screenshot-verdict.sh linux [folder]   (build/telvo-flash, FLTK; TELVO_BUILD names
#                                                   another Linux build folder)
#   scripts/screenshot-verdict.sh wine  [folder]   (build-win64/telvo-flash.exe, wine64)
# Writes <folder>/<mode>-flash-done.png and <folder>/<mode>-flash-failed.png (default: shots/).
# Coordinates are those of the window at 96 dpi.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
linux_build=${TELVO_BUILD:-$root/build}
mode=${1:-linux}
folder=$(realpath -m "${2:-$root/shots}")
. "$root/scripts/lib.sh"
on_display 1024x768x24 -noreset -- "$mode" "$folder"
mkdir -p "$folder"

# One flash, with or without a cartridge answering; the screen is saved when it has ended.
shot() {
  local name=$1 app pid window
  app=$(mktemp -d)
  # A ROM with a Genesis header, listed first so that the double-click queues it.
  head -c 65536 /dev/zero > "$app/AAA.bin"
  printf 'SEGA GENESIS    ' | dd of="$app/AAA.bin" bs=1 seek=256 conv=notrunc status=none
  export TELVO_SIM_KBPS=0
  if [ "$mode" = wine ]; then
    local build=$root/build-win64
    cp "$build/telvo-flash.exe" "$build/ucon64.exe" "$app/"
    (cd "$app" && "$root/cmake/wine-run.sh" "$build/wineprefix" "$app/telvo-flash.exe" \
      >/dev/null 2>&1) &
    file=(200 30) flash=(380 450)  # the window's frame included
    close() { "$root/cmake/wine-run.sh" "$build/wineprefix" "$build/closewindow.exe" "TELVO FLASH" \
                >/dev/null 2>&1 || true; }
  else
    cp "$linux_build/telvo-flash" "$app/"
    cp "$linux_build/ucon64" "$app/ucon64"
    (cd "$app" && "$app/telvo-flash") &
    file=(200 8) flash=(376 424)
    close() { "$linux_build/x11close" "TELVO FLASH" || true; }
  fi
  pid=$!
  queue_first_and_flash "${file[@]}" "${flash[@]}"
  sleep 6
  import -window root "$folder/$mode-flash-$name.png"
  echo "verdict ($name): $folder/$mode-flash-$name.png"
  close
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  rm -rf "$app"
}

unset TELVO_SIM_NO_CARTRIDGE
shot done
export TELVO_SIM_NO_CARTRIDGE=1
shot failed
