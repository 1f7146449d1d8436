#!/usr/bin/env bash
# Creates the private 32-bit Wine prefix of a build folder (once) and keeps one wineserver up.
set -euo pipefail
build=$(realpath "$1")
export WINEPREFIX="$build/wineprefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-prefix: creating $WINEPREFIX"
  mkdir -p "$build"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  # A crash prints a backtrace and exits instead of waiting in a dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
fi
wineserver -p60
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
