#!/usr/bin/env bash
# Builds and registers SkedraXControl.ocx in the private Wine prefix and drives it from a script.
# The grid itself is not yet hosted in a window; until then the demo shows the task objects.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/bootstrap.sh
build=build/mingw64
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
bash scripts/wine-prefix.sh "$build"
cmake --build "$build" -j"$(nproc)"
(cd "$build/bin" && ../wine-run.sh regsvr32 /s SkedraXControl.ocx)
echo "SkedraXControl.ocx built and registered in $build/wineprefix; driving it from demo/TaskDemo.vbs:"
(cd demo && "../$build/wine-run.sh" cscript //nologo TaskDemo.vbs)
