#!/usr/bin/env bash
# A longer random run of the control under Wine: bash scripts/fuzz.sh [calls] [seed]
# Uses the x86_64 build (build/mingw64, built and with its prefix made by scripts/test-wine.sh).
# Every call is written to build/mingw64/bin/fuzz.log before it runs: after a crash the last
# line names the call.
set -euo pipefail
cd "$(dirname "$0")/.."
calls=${1:-100000}
seed=${2:-$(date +%s)}
build=build/mingw64
cmake --build "$build" -j2 --target skx_wine_tests >/dev/null
echo "fuzz: $calls calls, seed $seed (log: $build/bin/fuzz.log)"
cd "$build/bin"
# Registration and the run share one display: a Wine session started without one makes no windows.
export SKX_FUZZ_CALLS=$calls SKX_FUZZ_SEED=$seed
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '../wine-run.sh regsvr32 /s SkedraXControl.ocx &&
  ../wine-run.sh skx_wine_tests.exe --gtest_filter="FuzzTest.RandomSequences*"'
