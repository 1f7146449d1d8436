#!/usr/bin/env bash
# Builds the control and its Windows-side tests and runs them under Wine (inside Xvfb).
# The Windows-side tests run on the x86_64 build of the same sources, because Wine runs 64-bit
# programs wherever it runs at all, while its 32-bit loader needs a kernel (or sandbox) that
# executes i386 programs. The shipped i686 control is always built and checked; where 32-bit
# programs run, its own Wine tests run too.
set -euo pipefail
. "$(dirname "$0")/machine.sh"
jobs=$(nproc)

build_and_test() {
  local build=$1 toolchain=$2
  shift 2
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  if grep -q '^SKX_WINE_TESTS:BOOL=ON' "$build/CMakeCache.txt"; then
    bash scripts/wine-prefix.sh "$build"
  fi
  cmake --build "$build" -j"$jobs"
  ctest --test-dir "$build" --output-on-failure
}

stop_wineservers() {
  for prefix in build/mingw64/wineprefix build/mingw32/wineprefix; do
    [ -d "$prefix" ] && WINEPREFIX="$(realpath "$prefix")" wineserver -k 2>/dev/null || true
  done
}
trap stop_wineservers EXIT

echo "== x86_64 build: Windows-side tests under Wine"
build_and_test build/mingw64 cmake/mingw-w64-x86_64.cmake

echo "== i686 build: the shipped SkedraXControl.ocx"
if runs_32bit_programs; then
  build_and_test build/mingw32 cmake/mingw-w64-i686.cmake
else
  echo "(this machine does not execute 32-bit programs: the i686 control reuses the generated type library and runs its static checks)"
  build_and_test build/mingw32 cmake/mingw-w64-i686.cmake -DSKX_WINE_TESTS=OFF \
    -DSKX_TYPELIB_FILE="$(realpath build/mingw64/SkedraXControl_TLB/SkedraXControl.tlb)"
fi
