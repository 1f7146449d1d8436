#!/usr/bin/env bash
# Creates the private Wine prefix of a configured build folder (once) and keeps one wineserver up.
set -euo pipefail
run="$(realpath "$1")/wine-run.sh"
prefix=$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$run")
if [ ! -f "$prefix/system.reg" ]; then
  echo "wine-prefix: creating $prefix"
  "$run" wineboot -i >/dev/null 2>&1
  WINEPREFIX="$prefix" wineserver -w
  # A crash prints a backtrace and exits instead of waiting in a dialog.
  "$run" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
fi
WINEPREFIX="$prefix" wineserver -p60
"$run" cmd /c exit >/dev/null 2>&1 </dev/null || true
