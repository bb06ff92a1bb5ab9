#!/usr/bin/env bash
# What recording a demo costs: vrask-server with eight computer players on a
# seeded generated maze, without and with --record, in turn (RUNS pairs of
# SECONDS each). Prints each run's processor time from /proc/PID/schedstat
# (time on the processor, hardly disturbed by other load) and the demo's
# size per minute; the load average is printed alongside.
# Goals: recording adds under 0.1 % of one core and under 50 KB a minute.
# Usage: bench/demo_cost.sh [SECONDS] [RUNS]    BUILD=folder (default build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
runs=${2:-3}
build=${BUILD:-$root/build}
[[ $build = /* ]] || build=$root/$build
[ -x "$build/vrask-server" ] || { echo "demo_cost: $build/vrask-server is not built" >&2; exit 2; }

work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# One run: prints the server's processor time in ms.
run() {
  local record=("$@")
  "$build/vrask-server" --dir "$work" --port 27271 --generate --seed 2727 "${record[@]}" \
    > /dev/null 2>&1 &
  pid=$!
  sleep 1
  local start end
  start=$(cut -d' ' -f1 "/proc/$pid/schedstat")
  sleep "$seconds"
  end=$(cut -d' ' -f1 "/proc/$pid/schedstat")
  kill -INT "$pid"
  wait "$pid" || true
  pid=
  echo $(((end - start) / 1000000))
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for ((k = 1; k <= runs; k++)); do
  plain=$(run)
  rm -f "$work/demo.vrd"
  recorded=$(run --record "$work/demo.vrd")
  size=$(stat -c %s "$work/demo.vrd")
  # The demo covers the whole run: the second before measuring and the end.
  echo "run $k: without ${plain} ms, with ${recorded} ms of processor in ${seconds} s;" \
       "demo $((size * 60 / (seconds + 1) / 1024)) KB per minute"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
