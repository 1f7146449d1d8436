#!/usr/bin/env bash
# Runs every test: the portable code natively (under ASan and UBSan), then the real control under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

bash scripts/bootstrap.sh

echo "== native build and tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DSKX_SANITIZE=ON >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure -j"$jobs"

echo "== Windows builds (MinGW-w64) and tests under Wine"
xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/test-wine.sh build/mingw
