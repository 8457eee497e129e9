#!/bin/sh
# Runs a Windows program under Wine in a Wine prefix of its own.
# Usage: wine-run.sh [--win32] PREFIX PROGRAM.exe [ARGS...]
# --win32 runs 32-bit programs: a 32-bit prefix (WINEARCH=win32) and Debian's 32-bit loader
# (package wine32). Without that loader it refuses and fails: wine64 given a 32-bit program
# prints an error and exits 0, so a test would pass without having run. A 32-bit program given
# without --win32 is refused for the same reason.
# The prefix is created on first use; Wine's debug chatter and its offers to install Mono and
# Gecko are switched off so that test output stays readable and nothing waits for a click.
set -e
arch=win64
if [ "$1" = "--win32" ]; then
  arch=win32
  shift
fi
prefix=$1
shift

# The machine field of a PE file: 4c01 is i386.
pe_machine() {
  [ -f "$1" ] || return 0
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] || return 0
  od -An -tx1 -j"$offset" -N6 "$1" 2>/dev/null | tr -d ' \n'
}
case "$(pe_machine "$1")" in
  504500004c01)
    if [ "$arch" != win32 ]; then
      echo "wine-run: $1 is a 32-bit program; run it with --win32" >&2
      exit 125
    fi ;;
esac

if [ "$arch" = win32 ]; then
  loader=/usr/lib/wine/wine
  if [ ! -x "$loader" ]; then
    echo "wine-run: the 32-bit Wine loader $loader is missing (install wine32:i386)" >&2
    exit 125
  fi
  # Installed is not enough: a kernel without 32-bit support cannot start the loader.
  if ! "$loader" --version >/dev/null 2>&1; then
    echo "wine-run: the 32-bit Wine loader $loader does not start here" \
      "(this kernel runs no 32-bit programs)" >&2
    exit 125
  fi
  export WINEARCH=win32
else
  loader=/usr/lib/wine/wine64
fi

mkdir -p "$prefix"
WINEPREFIX=$(cd "$prefix" && pwd)
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$loader" wineboot -i >/dev/null 2>&1 || true
  # Windows not managed by an X window manager: the virtual display has none, and Wine would
  # otherwise wait two seconds for one whenever a shown window goes away.
  "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w || true
fi
if [ "$arch" = win32 ] && ! grep -q '^#arch=win32' "$WINEPREFIX/system.reg"; then
  echo "wine-run: $WINEPREFIX is not a 32-bit Wine prefix" >&2
  exit 125
fi
exec "$loader" "$@"
