#!/usr/bin/env bash
# Builds the harnesses with clang and runs each for SECONDS (default 600).
# Seeds come from tests/data; what the runs learn is kept in build-fuzz/corpus;
# a crash, leak or hang is copied to tests/data/fuzz/<harness>/ to stay a
# regression case. Prints one summary line per harness.
#   fuzz/run_fuzzers.sh [SECONDS] [HARNESS...]
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DLOBEVIEW_FUZZ=ON -DBUILD_TESTING=OFF \
  -DLOBEVIEW_DEFAULT_DSA_IP=127.0.0.1 -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)" >/dev/null || exit 1

declare -A seeds=(
  [fuzz_nsma]="tests/data/nsma tests/data/convert" [fuzz_adf]="tests/data/nsma" [fuzz_labz]="tests/data/nsma"
  [fuzz_nsma89]="tests/data/nsma89" [fuzz_planet]="tests/data/planet" [fuzz_ant]="tests/data/ant"
  [fuzz_4nec]="tests/data/4nec" [fuzz_envelopes]="tests/data/envelopes" [fuzz_help]="tests/data/help"
  [fuzz_settings]="tests/data/settings" [fuzz_turntable]="tests/data/turntable" [fuzz_dsa_reply]="tests/data/dsa"
  [fuzz_site_file]="tests/data/sites" [fuzz_pattern3d]=""
)
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=(fuzz_nsma fuzz_adf fuzz_labz fuzz_nsma89 fuzz_planet fuzz_ant fuzz_4nec
  fuzz_envelopes fuzz_help fuzz_settings fuzz_turntable fuzz_dsa_reply fuzz_site_file fuzz_pattern3d)

for h in "${harnesses[@]}"; do
  corpus=build-fuzz/corpus/$h
  mkdir -p "$corpus" "tests/data/fuzz/$h"
  for dir in ${seeds[$h]} "tests/data/fuzz/$h"; do
    [ -d "$dir" ] || continue
    for f in "$dir"/*; do
      [ -f "$f" ] || continue
      # The pattern harnesses take a leading option byte; a site file is read as it is.
      if [ "$h" = fuzz_site_file ]; then cp "$f" "$corpus/seed-$(basename "$f")"
      else { printf '\001'; cat "$f"; } > "$corpus/seed-$(basename "$f")"; fi
    done
  done
  log=build-fuzz/$h.log
  build-fuzz/fuzz/$h "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -artifact_prefix="tests/data/fuzz/$h/" -print_final_stats=1 >"$log" 2>&1
  status=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  found=$(ls "tests/data/fuzz/$h" 2>/dev/null | grep -c -E '^(crash|leak|timeout|oom)-' || true)
  echo "$h: ${seconds}s, ${runs:-?} executions, exit $status, findings kept: $found"
done
