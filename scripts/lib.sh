# Helpers of the scripts that start the program and watch it, sourced by them:
#   . "$root/scripts/lib.sh"
# The caller defines fail MESSAGE (counts a failure and goes on) and, for the Wine helpers,
# wine PROGRAM [ARGS...] (cmake/wine-run.sh with the caller's prefix).

# Runs the calling script again on a virtual display of its own and never returns; in that
# second run it returns at once. SCREEN is WIDTHxHEIGHTxDEPTH, then any further options of the
# X server, then -- and the script's arguments. Nothing reads standard input.
#   on_display 1024x768x24 -- "$@"
on_display() {
  [ "${TELVO_ON_DISPLAY:-}" != "$0" ] || return 0
  local server=(-screen 0 "$1")
  shift
  while [ $# -gt 0 ] && [ "$1" != -- ]; do server+=("$1"); shift; done
  shift
  TELVO_ON_DISPLAY=$0 exec xvfb-run -a -s "${server[*]}" "$0" "$@" </dev/null
}

# The virtual screen for a picture at TELVO_DPI: at more than 96 dpi, room for the window at up
# to 192 dpi.
picture_screen() { if [ "${TELVO_DPI:-96}" -le 96 ]; then echo 1024x768x24; else echo 2048x1536x24; fi; }

wait_for() {  # wait_for SECONDS TEST...: true once the test holds
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 10))); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  return 1
}

both_files() { [ -s "$1/.ucon64rc" ] && [ -s "$1/TELVO.INI" ]; }
gone() { ! kill -0 "$1" 2>/dev/null; }

# True when Wine runs programs in the caller's prefix. Creating a prefix takes a while, so this
# comes before any test's clock starts. Where it does not, says so: as NOT RUN for 32-bit Wine
# when TELVO_WIN32_OPTIONAL=1 lets it be missing, otherwise as a failure.
#   wine_runs WHAT [--win32]
wine_runs() {
  wine cmd /c exit </dev/null >/dev/null && return 0
  if [ "${2:-}" = --win32 ] && [ "${TELVO_WIN32_OPTIONAL:-0}" = 1 ]; then
    echo "$(basename "$0" .sh): NOT RUN: $1 (no working 32-bit Wine here)" >&2
  else
    fail "Wine cannot run $1"
  fi
  return 1
}

# The Windows program's start-up as a user meets it: started from its folder, it must write
# .ucon64rc and TELVO.INI there within 60 s, and end cleanly within 30 s of its main window
# being closed (with CLOSER.exe, as a user would close it). WHILE-RUNNING FOLDER runs once the
# start-up is done, AFTER-END FOLDER once the program has ended.
#   wine_start_up WHAT FOLDER/PROGRAM.exe CLOSER.exe [WHILE-RUNNING [AFTER-END]]
wine_start_up() {
  local what=$1 program=$2 closer=$3 running=${4:-} ended=${5:-} dir pid status=0
  dir=$(dirname "$program")
  wine "$program" </dev/null >/dev/null 2>&1 &
  pid=$!
  if ! wait_for 60 both_files "$dir"; then
    fail "$what wrote no .ucon64rc and TELVO.INI in \"$dir\" within 60 s"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    return
  fi
  echo "ok: $what wrote .ucon64rc and TELVO.INI in \"$dir\""
  sleep 1  # the settings are written before the window shows; let start-up finish
  [ -z "$running" ] || "$running" "$dir"
  wait_for 20 wine "$closer" "TELVO FLASH UTILITY" </dev/null 2>/dev/null ||
    fail "no window captioned \"TELVO FLASH UTILITY...\" to close"
  if ! wait_for 30 gone "$pid"; then
    fail "$what still runs 30 s after its window was closed"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    return
  fi
  wait "$pid" || status=$?
  if [ "$status" -ne 0 ]; then
    fail "$what ended with $status when its window was closed"
    return
  fi
  echo "ok: $what ended cleanly when its window was closed"
  [ -z "$ended" ] || "$ended" "$dir"
}

# A click (COUNT clicks) at X Y of the screen, once the pointer has settled there.
#   click X Y [COUNT]
click() { xdotool mousemove "$1" "$2"; sleep 0.3; xdotool click --repeat "${3:-1}" --delay 80 1; }

# Waits for the main window, queues the first file of its file list with a double-click and
# presses "Flash". The offsets are within the window as xdotool reports it (under Wine the frame
# counts).
#   queue_first_and_flash FILE_X FILE_Y FLASH_X FLASH_Y
queue_first_and_flash() {
  local window X Y WIDTH HEIGHT SCREEN
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "TELVO FLASH" | head -n 1)
  sleep 3
  eval "$(xdotool getwindowgeometry --shell "$window")"
  click $((X + $1)) $((Y + $2)) 2
  sleep 1
  click $((X + $3)) $((Y + $4))
}
