#!/usr/bin/env bash
# Builds the portable code natively for speed and runs the benchmarks; extra arguments go to
# the benchmark program (for example --benchmark_filter=Arrange). Then times automation calls on
# the registered control in the x86_64 Windows build under Wine, against Scripting.Dictionary,
# and a week's navigation and a full repaint of the control in the platform's ATL container.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DSKX_BENCH=ON >/dev/null
cmake --build build/bench --target skx_bench -j2
# Freed memory stays with the process, as in a container that has run for a while: otherwise the
# large task sets, whose memory the allocator hands back to the system between repetitions, are
# timed with the system zeroing fresh pages while the small ones reuse theirs.
GLIBC_TUNABLES=glibc.malloc.trim_threshold=2000000000:glibc.malloc.mmap_threshold=2000000000 \
  build/bench/bench/skx_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"

echo
echo "== automation call cost (x86_64 Windows build under Wine)"
build=build/mingw64
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
bash scripts/wine-prefix.sh "$build"
cmake --build "$build" --target SkedraXControl skx_script_host skx_automation_bench skx_navigation_bench -j2 >/dev/null
wine="$root/$build/wine-run.sh"
export WINEPREFIX="$root/$build/wineprefix"
trap 'wineserver -k 2>/dev/null || true' EXIT

# Runs a command on the display, or inside Xvfb when there is none; the Wine processes end
# before Xvfb does.
on_display() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '"$@"; status=$?; wineserver -k 2>/dev/null; exit $status' \
      on_display "$@"
  fi
}
(cd "$build/bin" && on_display "$wine" regsvr32 /s SkedraXControl.ocx)
(cd bench && on_display "$wine" "$root/$build/bin/skx_script_host.exe" AutomationCost.vbs)
echo
(cd "$build/bin" && on_display "$wine" skx_automation_bench.exe)
echo
echo "== weekly view, 1000 x 760, in the ATL container: a week forward and back, a full repaint (x86_64, median of 5)"
(cd "$build/bin" && on_display "$wine" skx_navigation_bench.exe)
