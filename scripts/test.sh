#!/usr/bin/env bash
# Runs every test: the portable code natively (under ASan and UBSan), then the real control under
# Wine, and the 32-bit checks that this machine allows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/machine.sh
jobs=$(nproc)

bash scripts/bootstrap.sh

echo "== native build and tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DSKX_SANITIZE=ON >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure -j"$jobs"

echo "== Windows builds (MinGW-w64) and tests under Wine"
bash scripts/test-wine.sh

if runs_32bit_programs; then
  thirty_two="the shipped i686 SkedraXControl.ocx ran every Windows-side test under 32-bit Wine"
else
  echo "== 32-bit portable suite under qemu-i386 (this machine refuses 32-bit programs)"
  cmake -S . -B build/linux-i386 -DCMAKE_TOOLCHAIN_FILE=cmake/linux-i386.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build/linux-i386 -j"$jobs"
  ctest --test-dir build/linux-i386 --output-on-failure
  thirty_two="32-bit Wine cannot run here: the portable suite ran as a 32-bit program under qemu-i386, and the shipped i686 SkedraXControl.ocx passed its static export and import checks"
fi
echo "== all tests passed; 32-bit: $thirty_two"
