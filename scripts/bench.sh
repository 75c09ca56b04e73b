#!/usr/bin/env bash
# Builds the benchmarks (Release, build-bench/) and prints their figures, each
# beside its floor measured in the same run (docs/PERFORMANCE.md).
#   scripts/bench.sh [--quick]     --quick skips the 30-second idle measurement
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build-bench -DLOBEVIEW_BENCH=ON -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=Release \
  -DLOBEVIEW_DEFAULT_DSA_IP=127.0.0.1 >/dev/null
cmake --build build-bench -j"$(nproc)" >/dev/null
filter=()
[ "${1:-}" = "--quick" ] && filter=(--benchmark_filter=-BM_IdleCpu30s)
for b in bench_formats bench_charts bench_window; do
  QT_QPA_PLATFORM=offscreen build-bench/bench/$b --benchmark_counters_tabular=true "${filter[@]}" 2>/dev/null
done
build-bench/bench/bench_cli --benchmark_filter=Dump 2>/dev/null
# A site's boundaries on every core, beside one ratio per boundary on one.
build-bench/bench/bench_exposure 2>/dev/null
# The NSMA read and its floor again in turns, five times each (medians).
build-bench/bench/bench_formats --benchmark_filter=ReadNsmaLargest --benchmark_repetitions=5 \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true 2>/dev/null | grep -E 'median'
# The batch and its floor take turns (the disk's pace drifts), five times
# each, on the disk and again in memory (tmpfs); the medians are the figures.
batch=(--benchmark_filter=Batch --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
       --benchmark_report_aggregates_only=true)
build-bench/bench/bench_cli "${batch[@]}" 2>/dev/null | grep -E '^Bench|median'
TMPDIR=/dev/shm build-bench/bench/bench_cli "${batch[@]}" 2>/dev/null | grep -E 'median'
# The Python module's read beside the C++ load and a pure-Python parse.
PYTHONPATH=build-bench/src/python /usr/bin/python3 bench/bench_python.py
# Whole processes: lobeconv and its floors, and the window on a real X server.
./scripts/with_x11.sh build-bench/bench/bench_process
