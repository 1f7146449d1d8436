#!/usr/bin/env bash
# Creates the private Wine prefix of a configured build folder (once) and keeps one wineserver up.
set -euo pipefail
run="$(realpath "$1")/wine-run.sh"
prefix=$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$run")
if [ ! -f "$prefix/system.reg" ]; then
  echo "wine-prefix: creating $prefix"
  # wineboot's exit status is not reliable; the prefix is judged by its registry files.
  "$run" wineboot -i </dev/null >/dev/null 2>&1 || true
  WINEPREFIX="$prefix" wineserver -w || true
  if [ ! -f "$prefix/system.reg" ]; then
    echo "wine-prefix: wineboot did not create $prefix" >&2
    exit 1
  fi
  # A crash prints a backtrace and exits instead of waiting in a dialog.
  "$run" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  WINEPREFIX="$prefix" wineserver -w
fi
# Wine's own bitmap fonts (MS Sans Serif, Small Fonts; package fonts-wine) go where the prefix's
# font list looks for them: this Wine does not copy them into the prefix by itself.
fonts="$prefix/drive_c/windows/Fonts"
if [ -d /usr/share/wine/fonts ] && [ ! -f "$fonts/sserife.fon" ]; then
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/* "$fonts/"
fi
# A server that is already up (exit status 2) serves as well.
WINEPREFIX="$prefix" wineserver -p60 || [ $? -eq 2 ]
"$run" cmd /c exit </dev/null >/dev/null 2>&1 || true
# No window manager runs in Xvfb, and each time a window that Wine leaves to one is hidden, Wine
# waits up to two seconds for it to answer. The test programs' windows are Wine's own; the demo's stay managed,
# for a real desktop.
if ! grep -qF 'skx_wine_tests.exe\\X11 Driver' "$prefix/user.reg"; then
  for program in skx_wine_tests.exe skx_script_host.exe; do
    "$run" reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\X11 Driver" /v Managed /d N /f \
      </dev/null >/dev/null 2>&1
  done
fi
