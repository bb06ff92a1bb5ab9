#!/usr/bin/env bash
# The long fuzzing run: builds the fuzz targets (build-fuzz/, clang with
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) and runs every
# one of them for RUNS inputs, as many at once as there are processors.
# Prints inputs, time and result per target; a crash or sanitizer report
# leaves its input in build-fuzz/fuzz/artifacts/ and the log beside it.
# Usage, from anywhere:  tools/fuzz_long.sh [RUNS]   (default 1000000)
# FUZZ_SEED sets libFuzzer's seed (default 1).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-1000000}
seed=${FUZZ_SEED:-1}
build=$root/build-fuzz

"$root/scripts/setup.sh" build-fuzz -DVRASK_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14
logs=$build/fuzz/logs
mkdir -p "$logs" "$build/fuzz/artifacts"

run_one() {
  local target=$1 name
  name=$(basename "$target" _fuzz)
  mkdir -p "$build/fuzz/corpus/$name"
  local start=$SECONDS status=0
  "$target" -runs="$runs" -seed="$seed" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz/artifacts/$name-" \
    "$build/fuzz/corpus/$name" "$root/tests/fuzz/corpus/$name" >"$logs/$name.log" 2>&1 || status=$?
  local done
  done=$(sed -n 's/^stat::number_of_executed_units: *//p' "$logs/$name.log")
  printf '%-18s %10s inputs %6ss  %s\n' "$name" "${done:-?}" $((SECONDS - start)) \
    "$([ "$status" -eq 0 ] && echo ok || echo "FAILED (exit $status, see $logs/$name.log)")"
  echo "$status" >"$logs/$name.status"
}

rm -f "$logs"/*.status
for target in "$build"/fuzz/*_fuzz; do
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do sleep 1; done
  run_one "$target" &
done
wait
! grep -qv '^0$' "$logs"/*.status
