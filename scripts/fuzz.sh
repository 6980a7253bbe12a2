#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# in build/fuzz and runs each for SECONDS (default 60) on its seeds and what earlier runs
# found, four at a time; with TARGET names after SECONDS (sensor_record, ...), only those.
# Prints per target the inputs run and the findings; a finding is kept in
# build/fuzz/findings/<target>/ and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
rn_install_missing

seconds="${1:-60}"
shift $(( $# > 0 ? 1 : 0 ))
jobs="${FUZZ_JOBS:-4}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j4 >/dev/null

build=build/fuzz
targets=()
if [ $# -gt 0 ]; then
  for name in "$@"; do
    [ -x "$build/bin/fuzz_$name" ] || { echo "no fuzz target $name" >&2; exit 2; }
    targets+=("fuzz_$name")
  done
else
  for exe in "$build"/bin/fuzz_*; do targets+=("$(basename "$exe")"); done
fi

run_target() {
  local target="$1" name="${1#fuzz_}"
  local corpus="$build/corpus/$name" findings="$build/findings/$name"
  mkdir -p "$corpus" "$findings"
  # No leak check: the monitor and the libraries keep their state for the whole process.
  ASAN_OPTIONS="detect_leaks=0:allocator_may_return_null=1" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$build/seeds/$name" \
      >"$build/logs/$name.log" 2>&1 || true
}

mkdir -p "$build/logs"
running=0
for target in "${targets[@]}"; do
  run_target "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

status=0
printf '%-20s %12s %9s\n' target executions findings
for target in "${targets[@]}"; do
  name="${target#fuzz_}"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/logs/$name.log" | tail -1)
  found=$(find "$build/findings/$name" -type f | wc -l)
  printf '%-20s %12s %9s\n' "$name" "${runs:-none}" "$found"
  if [ "$found" -gt 0 ] || [ -z "$runs" ]; then
    status=1
    echo "  see $build/logs/$name.log and $build/findings/$name/"
  fi
done
exit $status
