#!/usr/bin/env bash
# Builds the control and its Windows-side tests, then runs them under Wine (inside Xvfb).
set -euo pipefail
build=$1
jobs=$(nproc)
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
bash scripts/wine-prefix.sh "$build"
trap 'WINEPREFIX="$(realpath "$build")/wineprefix" wineserver -k 2>/dev/null || true' EXIT
cmake --build "$build" -j"$jobs"
ctest --test-dir "$build" --output-on-failure
