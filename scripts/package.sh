#!/usr/bin/env bash
# Builds the release package dist/SkedraXControl-<version>-win32.zip from the i686 build: the
# control, its type library, the C++ client header, README, LICENSE, install.cmd and
# uninstall.cmd. Where 32-bit programs cannot run, the type library comes from the x86_64 build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/windows-build.sh
bash scripts/bootstrap.sh
jobs=$(nproc)

if ! runs_32bit_programs; then
  configure_windows_build build/mingw64 cmake/mingw-w64-x86_64.cmake
  cmake --build build/mingw64 -j"$jobs" --target skx_typelib
fi
configure_i686
cmake --build build/mingw32 -j"$jobs" --target skx_package
# The build folder keeps the packages of earlier versions: the newest is this one.
zip=$(ls -t build/mingw32/SkedraXControl-*-win32.zip | head -n 1)
mkdir -p dist
cp "$zip" dist/
echo "package: dist/$(basename "$zip")"
