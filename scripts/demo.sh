#!/usr/bin/env bash
# Builds SkedraXControl.ocx and the demo container SkedraDemo.exe, registers the control in the
# build's private Wine prefix and starts the demo: the shipped i686 control wherever 32-bit
# programs run, the x86_64 build elsewhere. With a display (DISPLAY set) the demo opens its
# window; without one it runs a short scripted session under Xvfb and prints its screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/machine.sh
bash scripts/bootstrap.sh
if runs_32bit_programs; then
  build=build/mingw32 toolchain=cmake/mingw-w64-i686.cmake which="the shipped i686 build"
else
  build=build/mingw64 toolchain=cmake/mingw-w64-x86_64.cmake
  which="the x86_64 build (this machine does not run 32-bit programs)"
fi
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release >/dev/null
bash scripts/wine-prefix.sh "$build"
cmake --build "$build" -j"$(nproc)" --target SkedraXControl SkedraDemo

# A wineserver keeps the display it started with: the demo gets one of its own, stopped at the end.
prefix="$root/$build/wineprefix"
stop_wineserver() { WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; }
stop_wineserver
trap stop_wineserver EXIT
# Registered and started in one shell, inside Xvfb where there is no display.
register_and_run='cd "$1/bin" && ../wine-run.sh regsvr32 /s SkedraXControl.ocx && ../wine-run.sh SkedraDemo.exe "${@:2}"'

if [ -n "${DISPLAY:-}" ]; then
  echo "SkedraXControl.ocx, $which, registered in $build/wineprefix; starting the demo."
  bash -c "$register_and_run" demo "$root/$build"
  exit
fi

shots="$root/$build/demo-screenshots"
rm -rf "$shots" && mkdir -p "$shots"
echo "SkedraXControl.ocx, $which, registered in $build/wineprefix; no display: a scripted session under Xvfb."
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$register_and_run" demo "$root/$build" /autotest "Z:${shots//\//\\}" ||
  status=$?
cat "$shots/events.log" 2>/dev/null || true
for bmp in "$shots"/*.bmp; do
  [ -f "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
  echo "screenshot: ${bmp%.bmp}.png"
done
exit "$status"
