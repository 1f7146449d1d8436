#!/usr/bin/env bash
# Builds the release package dist/SkedraXControl-<version>-win32.zip from the i686 build: the
# control, its type library, the C++ client header, README, LICENSE, install.cmd and
# uninstall.cmd. Where 32-bit programs cannot run, the type library comes from the x86_64 build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/machine.sh
bash scripts/bootstrap.sh
jobs=$(nproc)

configure() {
  local build=$1 toolchain=$2
  shift 2
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  if grep -q '^SKX_WINE_TESTS:BOOL=ON' "$build/CMakeCache.txt"; then
    bash scripts/wine-prefix.sh "$build"
  fi
}

if runs_32bit_programs; then
  configure build/mingw32 cmake/mingw-w64-i686.cmake
else
  configure build/mingw64 cmake/mingw-w64-x86_64.cmake
  cmake --build build/mingw64 -j"$jobs" --target skx_typelib
  configure build/mingw32 cmake/mingw-w64-i686.cmake -DSKX_WINE_TESTS=OFF \
    -DSKX_TYPELIB_FILE="$(realpath build/mingw64/SkedraXControl_TLB/SkedraXControl.tlb)"
fi
cmake --build build/mingw32 -j"$jobs" --target skx_package
# The build folder keeps the packages of earlier versions: the newest is this one.
zip=$(ls -t build/mingw32/SkedraXControl-*-win32.zip | head -n 1)
mkdir -p dist
cp "$zip" dist/
echo "package: dist/$(basename "$zip")"
