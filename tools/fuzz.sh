#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang into FUZZ_BUILD_DIR (default
# build-fuzz), makes their seeds with the project's own writers and runs
# each target for SECONDS (default 15), ORB_JOBS of them at once (default:
# the number of processors; it sets the build jobs too). Fails when any
# target crashes, leaks, hangs or trips a sanitizer; the input that did it
# is left in FUZZ_BUILD_DIR/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}
case $seconds in '' | *[!0-9]*) echo "usage: $0 [SECONDS]" >&2; exit 64 ;; esac
source tools/common.sh
bash tools/deps.sh
build=${FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$ORB_JOBS"

rm -rf "$build/seeds" "$build/crashes" "$build/logs"
mkdir -p "$build/crashes" "$build/logs"
"$build/orb_fuzz_seeds" "$build/seeds"
# The sanitizers' own settings; a leak is a finding too.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

targets=()
for exe in "$build"/fuzz_*; do
  [ -x "$exe" ] && targets+=("$(basename "$exe")")
done
pids=()
passed=0 failed=0
# Waits for target i and reports it.
report() {
  local t=${targets[$1]}
  if wait "${pids[$1]}"; then
    passed=$((passed + 1))
    echo "$t: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$build/logs/$t.log" | grep -o '[0-9]*$') runs, no crash"
  else
    failed=$((failed + 1))
    echo "$t: FAILED; the log's end ($build/logs/$t.log):"
    tail -n 40 "$build/logs/$t.log"
  fi
}
for i in "${!targets[@]}"; do
  t=${targets[$i]}
  # At most ORB_JOBS at once: the oldest run ends before another starts.
  [ "$i" -lt "$ORB_JOBS" ] || report $((i - ORB_JOBS))
  # The corpus grows in the build folder from one run to the next.
  mkdir -p "$build/corpus/$t"
  "$build/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$build/crashes/$t-" \
    "$build/corpus/$t" "$build/seeds/$t" >"$build/logs/$t.log" 2>&1 &
  pids+=($!)
done
for ((i = ${#targets[@]} > ORB_JOBS ? ${#targets[@]} - ORB_JOBS : 0; i < ${#targets[@]}; i++)); do
  report "$i"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
