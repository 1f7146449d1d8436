#!/usr/bin/env bash
# Builds and registers SkedraXControl.ocx in the private Wine prefix and drives it from a script:
# the shipped i686 control wherever 32-bit programs run, the x86_64 build elsewhere.
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
cmake --build "$build" -j"$(nproc)"
(cd "$build/bin" && ../wine-run.sh regsvr32 /s SkedraXControl.ocx)
echo "SkedraXControl.ocx, $which, built and registered in $build/wineprefix; driving it from demo/TaskDemo.vbs:"
(cd demo && "../$build/wine-run.sh" cscript //nologo TaskDemo.vbs)
