#!/bin/sh
# Runs a Windows program under wine64 in a Wine prefix of its own.
# Usage: wine-run.sh PREFIX PROGRAM.exe [ARGS...]
# The prefix is created on first use; Wine's debug chatter and its offers to install Mono and
# Gecko are switched off so that test output stays readable and nothing waits for a click.
set -e
prefix=$1
shift
mkdir -p "$prefix"
WINEPREFIX=$(cd "$prefix" && pwd)
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
  # Windows not managed by an X window manager: the virtual display has none, and Wine would
  # otherwise wait two seconds for one whenever a shown window goes away.
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w || true
fi
exec /usr/lib/wine/wine64 "$@"
