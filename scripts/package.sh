#!/usr/bin/env bash
# Builds the release package dist/SkedraXControl-<version>.zip: the i686 control (x86\) and the
# x86_64 control (x64\) of the same sources, each with the type library, and the C++ client
# header, README, LICENSE, install.cmd and uninstall.cmd. The i686 build packs it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/windows-build.sh
bash scripts/bootstrap.sh
jobs=$(nproc)

configure_windows_build build/mingw64 cmake/mingw-w64-x86_64.cmake
cmake --build build/mingw64 -j"$jobs" --target SkedraXControl skx_typelib
configure_i686
cmake --build build/mingw32 -j"$jobs" --target skx_package
# The build folder keeps the packages of earlier versions: the newest is this one.
zip=$(ls -t build/mingw32/SkedraXControl-*.zip | head -n 1)
mkdir -p dist
cp "$zip" dist/
echo "package: dist/$(basename "$zip")"
