#!/usr/bin/env bash
# Builds the portable code natively for speed and runs the benchmarks; extra arguments go to
# the benchmark program (for example --benchmark_filter=Arrange).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DSKX_BENCH=ON >/dev/null
cmake --build build/bench --target skx_bench -j2
build/bench/bench/skx_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
