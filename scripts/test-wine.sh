#!/usr/bin/env bash
# Builds the control and its Windows-side tests and runs them under Wine, each build on an Xvfb
# display of its own. The Windows-side tests run on the x86_64 build of the same sources, because
# Wine runs 64-bit programs wherever it runs at all, while its 32-bit loader needs a kernel (or
# sandbox) that executes i386 programs. The shipped i686 control is always built and checked;
# where 32-bit programs run, its own Wine tests run too. The i686 build and its tests run while
# the x86_64 tests do: the two builds have Wine prefixes and displays of their own.
#
# The steps, each run by this script inside Xvfb: x86_64 (build), x86_64-tests, i686 (build and
# tests).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/windows-build.sh
jobs=$(nproc)

stop_wineserver() {
  local prefix=$1/wineprefix
  [ -d "$prefix" ] && WINEPREFIX="$(realpath "$prefix")" wineserver -k 2>/dev/null || true
}

# A Wine session keeps the display it started with: each step ends its own.
in_session() {
  local build=$1
  shift
  trap "stop_wineserver $build" EXIT
  "$@"
}

# CTest runs tests side by side; the tests that share the screen or unregister the control
# wait for each other (RESOURCE_LOCK, RUN_SERIAL in tests/wine/CMakeLists.txt).
run_tests() {
  local build=$1
  wine_prefix_if_tested "$build"
  ctest --test-dir "$build" --output-on-failure -j"$jobs"
}

build_x86_64() {
  configure_windows_build build/mingw64 cmake/mingw-w64-x86_64.cmake
  cmake --build build/mingw64 -j"$jobs"
}

build_and_test_i686() {
  if ! runs_32bit_programs; then
    echo "(this machine does not execute 32-bit programs: the i686 control reuses the generated type library and runs its static checks)"
  fi
  configure_i686
  cmake --build build/mingw32 -j"$jobs"
  run_tests build/mingw32
}

case ${1:-} in
  x86_64) in_session build/mingw64 build_x86_64; exit ;;
  x86_64-tests) in_session build/mingw64 run_tests build/mingw64; exit ;;
  i686) in_session build/mingw32 build_and_test_i686; exit ;;
  "") ;;
  *) echo "test-wine.sh: unknown step $1" >&2; exit 2 ;;
esac

# The two steps that run at once look for a free display from different numbers, so that they do
# not both take the same one.
xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24")

echo "== x86_64 build: Windows-side tests under Wine"
"${xvfb[@]}" -n 99 bash scripts/test-wine.sh x86_64

mkdir -p build
i686_log=build/test-wine-i686.log
echo "== x86_64 tests; meanwhile the i686 build of the shipped SkedraXControl.ocx and its tests ($i686_log)"
# The i686 step runs in a process group of its own, ended with this script.
setsid "${xvfb[@]}" -n 199 bash scripts/test-wine.sh i686 >"$i686_log" 2>&1 &
i686=$!
trap 'kill -- -$i686 2>/dev/null || true' EXIT

status=0
"${xvfb[@]}" -n 99 bash scripts/test-wine.sh x86_64-tests || status=$?
i686_status=0
wait "$i686" || i686_status=$?
trap - EXIT

echo "== i686 build: the shipped SkedraXControl.ocx"
cat "$i686_log"
[ "$status" -eq 0 ] && [ "$i686_status" -eq 0 ]
